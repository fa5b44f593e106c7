#ifndef MESSAGEBOXCATCHER_H
#define MESSAGEBOXCATCHER_H

#include <QApplication>
#include <QLabel>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include "messagebox.h"

// Watches for the program's modal MessageBox while it exists, records its
// title and text and closes it as the operator's OK would, so that code which
// calls exec() can run inside a test.
class MessageBoxCatcher : public QObject
{
public:
    explicit MessageBoxCatcher(QObject *parent = nullptr) : QObject(parent)
    {
        connect(&m_timer, &QTimer::timeout, this, &MessageBoxCatcher::poll);
        m_timer.start(10);
    }

    struct Message
    {
        QString title;
        QString text;
    };
    QList<Message> messages;

    int count() const { return messages.size(); }
    QString lastText() const { return messages.isEmpty() ? QString() : messages.last().text; }
    QString lastTitle() const { return messages.isEmpty() ? QString() : messages.last().title; }
    void clear() { messages.clear(); }

private:
    void poll()
    {
        const auto widgets = QApplication::topLevelWidgets();
        for (QWidget *w : widgets) {
            auto *box = qobject_cast<MessageBox *>(w);
            if (!box || !box->isVisible())
                continue;
            auto text = [box](const char *name) {
                auto *label = box->findChild<QLabel *>(QLatin1String(name));
                return label ? label->text() : QString();
            };
            messages.append({text("label_title"), text("text_lb")});
            box->close();
        }
    }
    QTimer m_timer;
};

#endif // MESSAGEBOXCATCHER_H
