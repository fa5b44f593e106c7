#include "messageboxcatcher.h"

#include <QApplication>
#include <QLabel>

#include "messagebox.h"

MessageBoxCatcher::MessageBoxCatcher(QObject *parent)
    : QObject(parent)
{
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &MessageBoxCatcher::poll);
    m_timer.start();
}

void MessageBoxCatcher::poll()
{
    const auto widgets = QApplication::topLevelWidgets();
    for (QWidget *w : widgets) {
        auto *box = qobject_cast<MessageBox *>(w);
        if (!box || !box->isVisible())
            continue;
        auto *title = box->findChild<QLabel *>(QStringLiteral("label_title"));
        auto *text = box->findChild<QLabel *>(QStringLiteral("text_lb"));
        messages.append({title ? title->text() : QString(), text ? text->text() : QString()});
        box->close();
    }
}
