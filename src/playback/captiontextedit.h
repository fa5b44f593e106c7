#ifndef CAPTIONTEXTEDIT_H
#define CAPTIONTEXTEDIT_H

#include <QTextEdit>

// The caption settings' text box. It takes plain text only and holds at
// most maxLength characters, however they come: a paste or a drop is cut
// before it reaches the document, since laying out one long word costs time
// with the square of its length; typing and texts set by the program are
// cut when they land.
class CaptionTextEdit : public QTextEdit
{
public:
    explicit CaptionTextEdit(QWidget *parent = nullptr);

    // Far more than a caption can show at once.
    static const int maxLength = 4000;

protected:
    void insertFromMimeData(const QMimeData *source) override;

private:
    void keepShort();
};

#endif // CAPTIONTEXTEDIT_H
