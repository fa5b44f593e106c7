#ifndef FORMFIELDS_H
#define FORMFIELDS_H

#include <QtWidgets>

// The window's widget of that name and kind; none ends the test run with
// the name, where a null pointer would end it with no word.
template <typename T>
T *child(QWidget *window, const QString &name)
{
    T *widget = window->findChild<T *>(name);
    if (!widget)
        qFatal("no widget %s of that kind", qPrintable(name));
    return widget;
}

// A window's fields as "name=value" entries: "r_sb=255" sets a spin box,
// "had_le=640" an edit or a text box, "colorlist_cb=5" picks an entry,
// "auto_cb=1" ticks a box.
inline void enter(QWidget *window, const QStringList &values)
{
    for (const QString &entry : values) {
        const QString name = entry.section('=', 0, 0);
        QWidget *widget = child<QWidget>(window, name);
        const QString value = entry.section('=', 1);
        if (auto *spin = qobject_cast<QSpinBox *>(widget))
            spin->setValue(value.toInt());
        else if (auto *edit = qobject_cast<QLineEdit *>(widget))
            edit->setText(value);
        else if (auto *text = qobject_cast<QTextEdit *>(widget))
            text->setPlainText(value);
        else if (auto *box = qobject_cast<QComboBox *>(widget))
            box->setCurrentIndex(value.toInt());
        else
            child<QAbstractButton>(window, name)->setChecked(value == QLatin1String("1"));
    }
}

// Ends the window's session by the named button of its own, or by the
// program's end ("quit") with the window still open.
inline void endSession(QWidget *window, const QString &ending)
{
    if (ending == QLatin1String("quit"))
        QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit");
    else
        child<QAbstractButton>(window, ending)->click();
}

// What the named field shows, written as enter() takes it; a label its text.
inline QString shown(QWidget *window, const QString &name)
{
    QWidget *widget = child<QWidget>(window, name);
    if (auto *spin = qobject_cast<QSpinBox *>(widget))
        return QString::number(spin->value());
    if (auto *text = qobject_cast<QTextEdit *>(widget))
        return text->toPlainText();
    if (auto *box = qobject_cast<QComboBox *>(widget))
        return QString::number(box->currentIndex());
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return QString::number(int(button->isChecked()));
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->text();
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        return edit->text();
    // Any other widget: the colour of its background, as the skin gives it.
    widget->ensurePolished();
    return widget->palette().color(widget->backgroundRole()).name();
}

// The entries as the window shows them now, to compare with what was entered.
inline QStringList shownNow(QWidget *window, const QStringList &values)
{
    QStringList now;
    for (const QString &entry : values)
        now.append(entry.section('=', 0, 0) + QLatin1Char('=') + shown(window, entry.section('=', 0, 0)));
    return now;
}

#endif // FORMFIELDS_H
