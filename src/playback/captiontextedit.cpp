#include "captiontextedit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

#include "heldtext.h"

using HeldText::fitted;

namespace {

// Whether the text control takes a key's text as typing: the same rule it
// applies itself. Anything it takes is used up here even when none of it
// fits; anything else goes on as the control leaves it.
bool isTyping(const QKeyEvent *event)
{
    const QString text = event->text();
    if (text.isEmpty())
        return false;
    const QChar first = text.at(0);
    if (first.category() == QChar::Other_Format)
        return true;
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
        return false;
    return first.isPrint() || first.category() == QChar::Other_PrivateUse || first == QLatin1Char('\t')
           || (first.isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate());
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

int CaptionTextEdit::textLength() const
{
    // The count holds the separator that ends the last paragraph.
    return document()->characterCount() - 1;
}

int CaptionTextEdit::room() const
{
    // A selection is replaced by what comes in.
    const QTextCursor cursor = textCursor();
    return maxLength - textLength() + cursor.selectionEnd() - cursor.selectionStart();
}

// A key or an input method's commit that brings more than the room is cut
// before the document sees it: a cut after it landed would be an undo step
// of its own, and an undo would bring the text back only to cut it again.
void CaptionTextEdit::keyPressEvent(QKeyEvent *event)
{
    const int left = room();
    // A line break comes from the key itself, not from its text.
    if (event->matches(QKeySequence::InsertParagraphSeparator) || event->matches(QKeySequence::InsertLineSeparator)) {
        if (left >= 1)
            QTextEdit::keyPressEvent(event);
        else
            event->accept();
        return;
    }
    // Every key's text is cut, whatever it starts with: the control decides
    // by its first character alone whether to insert all of it. Shortcuts
    // and editing keys act on the key, so an emptied text leaves them be.
    const QString text = event->text();
    if (text.size() <= left) {
        QTextEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent cut(event->type(), event->key(), event->modifiers(), fitted(text, left), event->isAutoRepeat(),
                  ushort(event->count()));
    QTextEdit::keyPressEvent(&cut);
    event->setAccepted(cut.isAccepted() || isTyping(event));
}

void CaptionTextEdit::inputMethodEvent(QInputMethodEvent *event)
{
    // The control first removes a selection, then replaces the characters the
    // event names around the cursor. Those count as room only as far as
    // there is text: the claimed length is no measure, and the sums are
    // taken wide so that no claim can overflow them.
    const QTextCursor cursor = textCursor();
    const qint64 length = textLength() - (cursor.selectionEnd() - cursor.selectionStart());
    const qint64 from = std::clamp<qint64>(qint64(cursor.selectionStart()) + event->replacementStart(), 0, length);
    const qint64 to = std::clamp<qint64>(from + qint64(event->replacementLength()), from, length);
    const int replaced = int(to - from);
    const int left = maxLength - int(length) + replaced;

    // The preedit is laid out as if it were text: it gets what the commit
    // leaves.
    const QString commit = fitted(event->commitString(), left);
    const QString preedit = fitted(event->preeditString(), left - commit.size());
    const int start = int(from - cursor.selectionStart());
    if (commit == event->commitString() && preedit == event->preeditString() && start == event->replacementStart()
        && replaced == event->replacementLength()) {
        QTextEdit::inputMethodEvent(event);
        return;
    }
    QList<QInputMethodEvent::Attribute> attributes;
    for (QInputMethodEvent::Attribute attribute : event->attributes()) {
        // Formats and the cursor within the preedit keep within what is left
        // of it.
        if (attribute.type == QInputMethodEvent::TextFormat || attribute.type == QInputMethodEvent::Cursor) {
            attribute.start = std::clamp(attribute.start, 0, preedit.size());
            if (attribute.type == QInputMethodEvent::TextFormat)
                attribute.length = std::clamp(attribute.length, 0, preedit.size() - attribute.start);
        }
        attributes.append(attribute);
    }
    QInputMethodEvent cut(preedit, attributes);
    cut.setCommitString(commit, start, replaced);
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
    if (keeping)
        return;
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
    int from = end - excess;
    // Never half of a pair: the character it begins goes whole.
    if (from > 0 && text.at(from - 1).isHighSurrogate() && text.at(from).isLowSurrogate())
        --from;
    const QString kept = text.left(from) + text.mid(end);

    keeping = true;
    if (document()->isUndoRedoEnabled() && document()->availableUndoSteps() > 0) {
        // The change that brought too much is taken back as a whole, and what
        // is kept of it comes in as one step: a cut of its own would be an
        // undo step that brings the text back only to be cut again, and the
        // typing before it could never be undone.
        document()->undo();
        replaceText(document()->toRawText(), kept);
        document()->clearUndoRedoStacks(QTextDocument::RedoStack);
    } else {
        // Set by the program: nothing to take back, and nothing to undo to.
        const bool undoable = document()->isUndoRedoEnabled();
        document()->setUndoRedoEnabled(false);
        replaceText(text, kept);
        document()->setUndoRedoEnabled(undoable);
    }
    keeping = false;
    held = document()->toRawText();
}

void CaptionTextEdit::replaceText(const QString &now, const QString &wanted)
{
    // One edit of the part that differs, so that the cursor keeps its place
    // in the text around it.
    int start = 0;
    const int shorter = std::min(now.size(), wanted.size());
    while (start < shorter && now.at(start) == wanted.at(start))
        ++start;
    int after = 0;
    while (after < shorter - start && now.at(now.size() - 1 - after) == wanted.at(wanted.size() - 1 - after))
        ++after;
    if (start == now.size() - after && start == wanted.size() - after)
        return;
    QTextCursor cursor(document());
    cursor.setPosition(start);
    cursor.setPosition(now.size() - after, QTextCursor::KeepAnchor);
    cursor.insertText(wanted.mid(start, wanted.size() - after - start));
}
