#ifndef ROLLCAPTIONWINDOWS_H
#define ROLLCAPTIONWINDOWS_H

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

#include <memory>

namespace Ui {
class RollCaptionWindows;
}

// One line of caption text scrolling right to left over the desktop, a
// pixel per tick, on a solid or fully transparent background. Frameless and
// on top; moved by dragging its inside, resized by an 8-pixel border band,
// closed (and deleted) by the button that shows while the mouse is over it.
class RollCaptionWindows : public QWidget
{
    Q_OBJECT

public:
    explicit RollCaptionWindows(QWidget *parent = nullptr);
    ~RollCaptionWindows() override;

    void setCaptionFont(const QFont &font);
    void setTextColor(const QColor &colour);
    // Milliseconds per pixel, 0 for a standing text; read at the next show.
    void setInterval(int ms);
    void setText(const QString &caption);
    void setTransparent();
    void setBackgroundColor(const QColor &colour);
    void setTextX(int x);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // Border zones: 0 the inside, then clockwise from the top-left corner.
    enum Zone { Inside, TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left };

    void init();
    void initConnect();
    void layoutZones();
    int hitTest(int x, int y) const;
    void setZoneCursor(int zone);
    void resizeByZone();

    std::unique_ptr<Ui::RollCaptionWindows> ui;
    QString text;
    // The text's width in the window's font, measured when either changes:
    // a tick must not cost more for a longer text.
    int textWidth = 0;
    int textX = 0;
    int timerId = 0;
    int interval = 0;
    bool transparent = false;
    QRect borderRects[8];
    int minWidth = 360;
    int minHeight = 100;
    QPoint pressGlobal;
    QPoint curGlobal;
    QRect pressGeometry;
    bool pressed = false;
    int zone = Inside;
    bool dragging = false;
    QPoint dragGlobal;
    QPoint pressLocal;
    QColor textColor = Qt::black;
};

#endif // ROLLCAPTIONWINDOWS_H
