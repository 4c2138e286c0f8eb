#pragma once
#include <QString>
#include <QWidget>

class CPropertySheet;
class QComboBox;

// One page of a property sheet or wizard. The sheet initialises a page when
// it is first shown and asks it to store its values on Apply, Next or Finish.
class CPropertyPage : public QWidget {
    Q_OBJECT
public:
    CPropertyPage(int dialogId, const QString& caption);

    const QString& Caption() const { return m_caption; }
    void EnsureInitialised();
    bool IsInitialised() const { return m_bInitialised; }

    virtual bool OnApply() { return true; }
    // False keeps the wizard on this page.
    virtual bool OnWizardNext() { return true; }
    virtual bool OnWizardFinish() { return true; }

    void SetModified(bool modified = true);
    void SetSheet(CPropertySheet* sheet) { m_pSheet = sheet; }
    CPropertySheet* Sheet() const { return m_pSheet; }

signals:
    void ModifiedChanged(bool modified);

protected:
    virtual void OnInitDialog() {}
    // A new combo box on this page, named by its control id.
    QComboBox* IdCombo(int id);

private:
    QString m_caption;
    CPropertySheet* m_pSheet = nullptr;
    bool m_bInitialised = false;
};
