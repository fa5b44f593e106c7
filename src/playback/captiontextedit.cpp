#include "captiontextedit.h"

#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>

CaptionTextEdit::CaptionTextEdit(QWidget *parent)
    : QTextEdit(parent)
{
    // The caption is plain text wherever it goes. Rich text would lay out the
    // images of pasted HTML and read its style sheets: any file they name.
    setAcceptRichText(false);
    connect(this, &QTextEdit::textChanged, this, &CaptionTextEdit::keepShort);
}

void CaptionTextEdit::insertFromMimeData(const QMimeData *source)
{
    // The plain text alone: HTML is never parsed, since parsing alone reads
    // the style sheets and backgrounds it names.
    const QString text = source->text();
    // The count holds the separator that ends the last paragraph.
    const int room = maxLength - (document()->characterCount() - 1) + textCursor().selectedText().size();
    if (!text.isEmpty() && room > 0) {
        insertPlainText(text.left(room));
        ensureCursorVisible();
    }
}

void CaptionTextEdit::keepShort()
{
    if (document()->characterCount() - 1 <= maxLength)
        return;
    QTextCursor cursor(document());
    cursor.setPosition(maxLength);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}
