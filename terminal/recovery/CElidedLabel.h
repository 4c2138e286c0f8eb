#pragma once
#include <QLabel>
#include <QString>

// A one-line label for a name of any length: a name wider than the label is
// elided in the middle and shown whole in the tooltip. Its size hint does not
// follow the text, so the layout around it keeps its place.
class CElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit CElidedLabel(QWidget* parent = nullptr);

    void SetFullText(const QString& text);
    const QString& FullText() const { return m_strFull; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Elide();

    QString m_strFull;
};
