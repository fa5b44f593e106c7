#ifndef APPINIT_H
#define APPINIT_H

#include <QObject>
#include <QPoint>

// Application-wide event filter that drags every window carrying the dynamic
// property "CanMove", and the start-up look (font, skin, palette).
class AppInit : public QObject
{
    Q_OBJECT

public:
    explicit AppInit(QObject *parent = nullptr);
    ~AppInit() override;

    void start();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPoint dragOffset;
    bool mousePressed = false;
};

#endif // APPINIT_H
