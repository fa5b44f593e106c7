#include "appinit.h"

#include <QApplication>
#include <QFont>
#include <QMouseEvent>
#include <QWidget>

#include "globalobject.h"

AppInit::AppInit(QObject *parent)
    : QObject(parent)
{
    qApp->installEventFilter(this);
}

AppInit::~AppInit() = default;

bool AppInit::eventFilter(QObject *watched, QEvent *event)
{
    // Every event of the application passes here: look at the property only
    // for the three mouse events a drag is made of.
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseMove)
        return QObject::eventFilter(watched, event);
    if (!watched->property("CanMove").toBool())
        return QObject::eventFilter(watched, event);

    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget)
        return QObject::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        mousePressed = true;
        dragOffset = mouse->screenPos().toPoint() - widget->pos();
        return true;
    }
    case QEvent::MouseButtonRelease:
        mousePressed = false;
        return true;
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        // A lost release leaves the flag set; without a held button the
        // move is not a drag.
        if (!mousePressed || mouse->buttons() == Qt::NoButton)
            break;
        widget->move(mouse->screenPos().toPoint() - dragOffset);
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void AppInit::start()
{
    appDirPath = QApplication::applicationDirPath();
#ifndef Q_OS_WIN
    // The interface font is a Windows one; elsewhere let a CJK font of the
    // same kind stand in, so Chinese texts render and widths stay close.
    QFont::insertSubstitutions(appFontFamily, {QStringLiteral("WenQuanYi Micro Hei"),
                                               QStringLiteral("Noto Sans CJK SC")});
#endif
    QApplication::setFont(QFont(appFontFamily, appFontSize));
    GlobalObject::setStyle(QStringLiteral(":/qss/staticfile/qss/blue.css"));
}
