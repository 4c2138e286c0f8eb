#pragma once
#include <QLabel>
#include <QSize>
#include <QStringList>

// Control 1006: shows the speed-of-sound equation in use, scaled to the
// control's width with the picture's proportions kept.
class CExpressionView : public QLabel {
    Q_OBJECT
public:
    explicit CExpressionView(QWidget* parent = nullptr);

    // Chooses the nine-term equation's picture, else the simpler one's.
    void SetNineTerm(bool nineTerm);
    bool IsNineTerm() const { return m_bNineTerm; }

    // The picture's own size, at which it is drawn unscaled.
    QSize PictureSize() const;
    // Where the picture lies: the control's left, top and width, and the
    // height that keeps the picture's proportions.
    QRect PictureRect() const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override { return PictureSize(); }
    QSize minimumSizeHint() const override { return PictureSize(); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int LinesWidth(const QStringList& lines) const;
    QStringList Lines() const;
    QFont PictureFont() const;

    bool m_bNineTerm = false;
};
