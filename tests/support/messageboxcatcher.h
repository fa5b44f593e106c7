#ifndef MESSAGEBOXCATCHER_H
#define MESSAGEBOXCATCHER_H

#include <QApplication>
#include <QLabel>
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

    int count() const { return m_texts.size(); }
    QString lastText() const { return m_texts.value(m_texts.size() - 1); }
    QString lastTitle() const { return m_titles.value(m_titles.size() - 1); }
    void clear() { m_titles.clear(), m_texts.clear(); }

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
            // The task bar names the box as its title bar does.
            m_titles.append(box->windowTitle() == text("label_title") ? box->windowTitle() : QStringLiteral("?"));
            m_texts.append(text("text_lb"));
            box->close();
        }
    }
    QTimer m_timer;
    QStringList m_titles;
    QStringList m_texts;
};

#endif // MESSAGEBOXCATCHER_H
