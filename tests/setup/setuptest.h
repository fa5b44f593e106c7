#ifndef SETUPTEST_H
#define SETUPTEST_H

#include <QByteArray>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QStringList>
#include <QTest>
#include <QTranslator>
#include <QValidator>
#include <QWidget>

#include "configfile.h"

// What the set-up window tests share: reaching a form's widgets by object
// name, a hand-written config.ini, and the built Chinese catalogue.
namespace SetupTest {

template <typename T>
T *child(QWidget *window, const char *name)
{
    T *widget = window->findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}

inline QStringList items(QComboBox *box)
{
    QStringList list;
    for (int i = 0; i < box->count(); ++i)
        list.append(box->itemText(i));
    return list;
}

// What the edit's validator says of a text typed into it.
inline int validation(QLineEdit *edit, QString text)
{
    int pos = 0;
    return int(edit->validator()->validate(text, pos));
}

inline bool writeConfig(const QByteArray &text)
{
    QFile file(ConfigFile::path());
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

// Runs step while the application's Chinese catalogue is installed (the
// windows re-text themselves on both switches); false when it does not load.
template <typename Step>
bool inChinese(Step step)
{
    QTranslator chinese;
    if (!chinese.load(QStringLiteral(":/translate/staticfile/qm/Translate_CN.qm")))
        return false;
    QCoreApplication::installTranslator(&chinese);
    QCoreApplication::processEvents();
    step();
    QCoreApplication::removeTranslator(&chinese);
    QCoreApplication::processEvents();
    return true;
}

} // namespace SetupTest

#endif // SETUPTEST_H
