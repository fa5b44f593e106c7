#include "heldtext.h"

#include <QLineEdit>
#include <QValidator>

namespace HeldText {

namespace {

// A field cuts what comes in to its maximum length, half of a character
// too; this takes the half away again. A validator sees the text after the
// cut, whatever brought it in, and the field takes the text it hands back.
class WholeCharacters : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &position) const override
    {
        for (int i = input.size() - 1; i >= 0; --i) {
            if (input.at(i).isHighSurrogate() && (i + 1 == input.size() || !input.at(i + 1).isLowSurrogate())) {
                input.remove(i, 1);
                if (position > i)
                    --position;
            }
        }
        return Acceptable;
    }
};

} // namespace

QString fitted(const QString &text, int room)
{
    if (room <= 0)
        return QString();
    if (text.size() > room && text.at(room - 1).isHighSurrogate())
        --room;
    return text.left(room);
}

void hold(QLineEdit *edit, int maxLength)
{
    edit->setMaxLength(maxLength);
    edit->setValidator(new WholeCharacters(edit));
}

} // namespace HeldText
