#include "rollcaptionwindows.h"
#include "ui_rollcaptionwindows.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

namespace {

const int band = 8;
// The text band starts this far down, so the line sits a little below the
// middle, clear of the close button.
const int textTop = 12;
const int standingTextX = 30;

const char hoverTint[] =
    "QWidget#font_widget{background-color:rgba(0,0,0,32);}QPushButton#font_close_pbtn{color:black;}";

} // namespace

RollCaptionWindows::RollCaptionWindows(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::RollCaptionWindows>())
{
    ui->setupUi(this);
    init();
    initConnect();
}

RollCaptionWindows::~RollCaptionWindows() = default;

void RollCaptionWindows::init()
{
    timerId = 0;
    pressed = false;
    minWidth = 360;
    minHeight = 100;
    textX = width();
    ui->font_widget->installEventFilter(this);
    ui->font_close_pbtn->hide();
    transparent = false;
    textColor = Qt::black;
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_DeleteOnClose, true);
    // Moves without a button reach the window through its children too, so
    // the cursor follows the border zones everywhere.
    setMouseTracking(true);
    const auto children = findChildren<QWidget *>();
    for (QWidget *child : children)
        child->setMouseTracking(true);
}

void RollCaptionWindows::initConnect()
{
    connect(ui->font_close_pbtn, &QPushButton::clicked, this, &QWidget::close);
}

void RollCaptionWindows::setCaptionFont(const QFont &font)
{
    setFont(font);
}

void RollCaptionWindows::setTextColor(const QColor &colour)
{
    textColor = colour;
}

void RollCaptionWindows::setInterval(int ms)
{
    interval = ms;
}

void RollCaptionWindows::setText(const QString &caption)
{
    text = caption;
    textWidth = fontMetrics().horizontalAdvance(text);
    update();
    updateGeometry();
}

void RollCaptionWindows::setTransparent()
{
    transparent = true;
    setAttribute(Qt::WA_TranslucentBackground, true);
}

void RollCaptionWindows::setBackgroundColor(const QColor &colour)
{
    QPalette pal = palette();
    pal.setBrush(QPalette::All, QPalette::Window, QBrush(colour));
    setPalette(pal);
}

void RollCaptionWindows::setTextX(int x)
{
    textX = x;
}

void RollCaptionWindows::showEvent(QShowEvent *event)
{
    if (interval != 0)
        timerId = startTimer(interval, Qt::CoarseTimer);
    else
        textX = standingTextX;
    layoutZones();
    QWidget::showEvent(event);
}

void RollCaptionWindows::hideEvent(QHideEvent *)
{
    if (timerId != 0)
        killTimer(timerId);
    timerId = 0;
}

void RollCaptionWindows::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != timerId || timerId == 0) {
        QWidget::timerEvent(event);
        return;
    }
    --textX;
    // One pixel a tick meets the left edge exactly once per pass.
    if (textX + textWidth == 0)
        textX = width();
    update();
}

void RollCaptionWindows::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(textColor.isValid() ? textColor : QColor(Qt::black));
    if (textWidth > 0)
        painter.drawText(QRect(textX, textTop, textWidth, height()), Qt::AlignLeft | Qt::AlignVCenter, text);
}

void RollCaptionWindows::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        textWidth = fontMetrics().horizontalAdvance(text);
    // The form holds only the title: a caption open during a language switch
    // keeps its text and place.
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QWidget::changeEvent(event);
}

void RollCaptionWindows::layoutZones()
{
    const int w = width();
    const int h = height();
    borderRects[0] = QRect(0, 0, band, band);
    borderRects[1] = QRect(0, h - band, band, band);
    borderRects[2] = QRect(w - band, 0, band, band);
    borderRects[3] = QRect(w - band, h - band, band, band);
    borderRects[4] = QRect(band, 0, w - 2 * band, band);
    borderRects[5] = QRect(w - band, band, band, h - 2 * band);
    borderRects[6] = QRect(band, h - band, w - 2 * band, band);
    borderRects[7] = QRect(0, band, band, h - 2 * band);
}

int RollCaptionWindows::hitTest(int x, int y) const
{
    // Corners before edges, so a corner's pixels never count as an edge.
    const struct
    {
        int rect;
        Zone zone;
    } order[] = {{0, TopLeft}, {2, TopRight}, {3, BottomRight}, {1, BottomLeft},
                 {4, Top},     {5, Right},    {6, Bottom},      {7, Left}};
    for (const auto &entry : order) {
        if (borderRects[entry.rect].contains(x, y))
            return entry.zone;
    }
    return Inside;
}

void RollCaptionWindows::setZoneCursor(int where)
{
    static const Qt::CursorShape shapes[] = {Qt::ArrowCursor,     Qt::SizeFDiagCursor, Qt::SizeVerCursor,
                                             Qt::SizeBDiagCursor, Qt::SizeHorCursor,   Qt::SizeFDiagCursor,
                                             Qt::SizeVerCursor,   Qt::SizeBDiagCursor, Qt::SizeHorCursor};
    setCursor(where >= TopLeft && where <= Left ? shapes[where] : Qt::ArrowCursor);
}

void RollCaptionWindows::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        pressed = true;
        pressGlobal = mapToGlobal(event->pos());
        pressGeometry = geometry();
        pressLocal = event->pos();
        if (zone == Inside)
            dragging = true;
    }
    QWidget::mousePressEvent(event);
}

void RollCaptionWindows::mouseMoveEvent(QMouseEvent *event)
{
    if (!pressed) {
        zone = hitTest(event->pos().x(), event->pos().y());
        setZoneCursor(zone);
    } else if (dragging) {
        dragGlobal = event->globalPos();
        move(dragGlobal - pressLocal);
    } else if (zone != Inside) {
        curGlobal = mapToGlobal(event->pos());
        resizeByZone();
    }
    QWidget::mouseMoveEvent(event);
}

void RollCaptionWindows::mouseReleaseEvent(QMouseEvent *event)
{
    pressed = false;
    dragging = false;
    layoutZones();
    QWidget::mouseReleaseEvent(event);
}

void RollCaptionWindows::resizeByZone()
{
    const int dx = curGlobal.x() - pressGlobal.x();
    const int dy = curGlobal.y() - pressGlobal.y();
    int left = pressGeometry.left();
    int top = pressGeometry.top();
    int right = pressGeometry.right();
    int bottom = pressGeometry.bottom();

    const bool movesLeft = zone == TopLeft || zone == BottomLeft || zone == Left;
    const bool movesRight = zone == TopRight || zone == Right || zone == BottomRight;
    const bool movesTop = zone == TopLeft || zone == Top || zone == TopRight;
    const bool movesBottom = zone == BottomRight || zone == Bottom || zone == BottomLeft;
    if (movesLeft)
        left += dx;
    if (movesRight)
        right += dx;
    if (movesTop)
        top += dy;
    if (movesBottom)
        bottom += dy;

    QRect result(QPoint(left, top), QPoint(right, bottom));
    if (result.width() < minWidth) {
        result.setLeft(x());
        result.setWidth(minWidth);
    }
    if (result.height() < minHeight) {
        result.setTop(y());
        result.setHeight(minHeight);
    }
    setGeometry(result);
}

bool RollCaptionWindows::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->font_widget) {
        if (event->type() == QEvent::Enter) {
            ui->font_close_pbtn->show();
            if (transparent)
                setStyleSheet(QLatin1String(hoverTint));
            return true;
        }
        if (event->type() == QEvent::Leave) {
            ui->font_close_pbtn->hide();
            setStyleSheet(QString());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
