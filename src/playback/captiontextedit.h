#ifndef CAPTIONTEXTEDIT_H
#define CAPTIONTEXTEDIT_H

#include <QTextEdit>

// The caption settings' text box. It takes plain text only and holds at
// most maxLength characters, as a field with a maximum length does: what
// comes in is cut to the room left, or refused when there is none, and the
// text already there is never shortened. A key, an input method's commit,
// a paste or a drop is cut before it reaches the document (laying out one
// long word costs time with the square of its length); a text set by the
// program, or anything else, is cut when it lands, and an undo then takes
// back what came in with the typing before it, as one step.
class CaptionTextEdit : public QTextEdit
{
public:
    explicit CaptionTextEdit(QWidget *parent = nullptr);

    // Far more than a caption can show at once.
    static const int maxLength = 4000;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    int textLength() const;
    int room() const;
    void keepShort();
    void replaceText(const QString &now, const QString &wanted);

    QString held; // the text as it stood after the last change
    bool keeping = false; // keepShort's own edits are under way
};

#endif // CAPTIONTEXTEDIT_H
