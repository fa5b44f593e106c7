#ifndef MESSAGEBOXCATCHER_H
#define MESSAGEBOXCATCHER_H

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QTimer>

// Watches for the program's modal MessageBox while it exists, records its
// title and text and closes it as the operator's OK would, so that code which
// calls exec() can run inside a test.
class MessageBoxCatcher : public QObject
{
    Q_OBJECT

public:
    explicit MessageBoxCatcher(QObject *parent = nullptr);

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
    void poll();
    QTimer m_timer;
};

#endif // MESSAGEBOXCATCHER_H
