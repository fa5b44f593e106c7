#include "captiontextedit.h"

#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

CaptionTextEdit::CaptionTextEdit(QWidget *parent)
    : QTextEdit(parent)
{
    connect(this, &QTextEdit::textChanged, this, &CaptionTextEdit::keepShort);
}

void CaptionTextEdit::insertFromMimeData(const QMimeData *source)
{
    const QString text = source->hasHtml() && acceptRichText()
                             ? QTextDocumentFragment::fromHtml(source->html()).toPlainText()
                             : source->text();
    // The count holds the separator that ends the last paragraph.
    const int room = maxLength - (document()->characterCount() - 1) + textCursor().selectedText().size();
    if (text.size() <= room)
        QTextEdit::insertFromMimeData(source);
    else
        insertPlainText(text.left(qMax(0, room)));
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
