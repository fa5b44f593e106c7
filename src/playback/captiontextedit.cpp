#include "captiontextedit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// The longest start of text that fits in room, never half a character.
QString fitted(const QString &text, int room)
{
    if (room <= 0)
        return QString();
    if (text.size() > room && text.at(room - 1).isHighSurrogate())
        --room;
    return text.left(room);
}

// The text a key brings, as the text control reads it: printable text, a tab
// or a line break, not a Ctrl shortcut; none for any other key.
QString keyText(const QKeyEvent *event)
{
    if (event->matches(QKeySequence::InsertParagraphSeparator) || event->matches(QKeySequence::InsertLineSeparator))
        return QStringLiteral("\n");
    const QString text = event->text();
    if (text.isEmpty())
        return QString();
    const uint first = text.toUcs4().value(0);
    if (QChar::category(first) == QChar::Other_Format)
        return text;
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
        return QString();
    return QChar::isPrint(first) || QChar::category(first) == QChar::Other_PrivateUse || first == '\t' ? text
                                                                                                        : QString();
}

} // namespace

CaptionTextEdit::CaptionTextEdit(QWidget *parent)
    : QTextEdit(parent)
{
    // The caption is plain text wherever it goes. Rich text would lay out the
    // images of pasted HTML and read its style sheets: any file they name.
    setAcceptRichText(false);
    connect(this, &QTextEdit::textChanged, this, &CaptionTextEdit::keepShort);
}

int CaptionTextEdit::room(int replaced) const
{
    // The count holds the separator that ends the last paragraph; a
    // selection and the characters an input method replaces make room.
    const QTextCursor cursor = textCursor();
    return maxLength - (document()->characterCount() - 1) + cursor.selectionEnd() - cursor.selectionStart()
           + replaced;
}

// A key or an input method's commit that brings more than the room is cut
// before the document sees it: a cut after it landed would be an undo step
// of its own, and an undo would bring the text back only to cut it again.
void CaptionTextEdit::keyPressEvent(QKeyEvent *event)
{
    const QString text = keyText(event);
    const int left = room();
    if (text.isEmpty() || text.size() <= left) {
        QTextEdit::keyPressEvent(event);
        return;
    }
    if (left > 0) {
        QKeyEvent cut(event->type(), event->key(), event->modifiers(), fitted(text, left), event->isAutoRepeat(),
                      ushort(event->count()));
        QTextEdit::keyPressEvent(&cut);
    }
    event->accept();
}

void CaptionTextEdit::inputMethodEvent(QInputMethodEvent *event)
{
    const int left = room(event->replacementLength());
    if (event->commitString().isEmpty() || event->commitString().size() <= left) {
        QTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent cut(event->preeditString(), event->attributes());
    cut.setCommitString(fitted(event->commitString(), left), event->replacementStart(), event->replacementLength());
    QTextEdit::inputMethodEvent(&cut);
    event->setAccepted(cut.isAccepted());
}

void CaptionTextEdit::insertFromMimeData(const QMimeData *source)
{
    // The plain text alone: HTML is never parsed, since parsing alone reads
    // the style sheets and backgrounds it names.
    const QString text = fitted(source->text(), room());
    if (!text.isEmpty()) {
        insertPlainText(text);
        ensureCursorVisible();
    }
}

void CaptionTextEdit::keepShort()
{
    const QString text = document()->toRawText();
    const int excess = text.size() - maxLength;
    if (excess <= 0) {
        held = text;
        return;
    }
    // Text that came in by another way (set by the program, or a control
    // character from the context menu): the end of what came in goes, never
    // the text that was there. What came in stands between the start and the
    // end that the text shares with the one held before.
    int start = 0;
    while (start < held.size() && held.at(start) == text.at(start))
        ++start;
    int after = 0;
    while (after < held.size() - start && held.at(held.size() - 1 - after) == text.at(text.size() - 1 - after))
        ++after;
    const int end = text.size() - after;
    QTextCursor cursor(document());
    cursor.setPosition(end - excess);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}
