#include "controls/number_field.h"

#include "controls/balloon_tip.h"
#include "problem/messages.h"

#include <QLineEdit>
#include <QValidator>

#include <memory>

namespace vexo {

namespace {

class NumberCharactersValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &text, int &) const override
    {
        return numberCharactersOnly(text) ? Acceptable : Invalid;
    }
};

} // namespace

void refuseTyped(QWidget *field, const QString &word)
{
    ERRBEEP();
    showBalloonTip(field, word);
}

void guardNumberTyping(QLineEdit *field, const QString &word)
{
    field->setValidator(new NumberCharactersValidator(field));
    // The rejection is reported while the field still shows the refused text; what it goes back to
    // is the text it showed before.
    auto shown = std::make_shared<QString>(field->text());
    QObject::connect(field, &QLineEdit::textChanged, field, [shown](const QString &text) { *shown = text; });
    QObject::connect(field, &QLineEdit::inputRejected, field, [field, word, shown] {
        // The line edit reports a rejection also when the program writes a text that holds other
        // characters, when such a text is typed on, and at its length limit; only a keystroke or
        // paste refused for its characters is told.
        if (field->hasFocus() && numberCharactersOnly(*shown) && shown->size() < field->maxLength())
            refuseTyped(field, word);
    });
}

bool acceptTypedNumber(QLineEdit *field, const QString &fieldName, bool sign, const QString &last, bool mayBeEmpty)
{
    const TypedNumberFault fault = typedNumberFault(field->text(), sign);
    if (fault == TypedNumberFault::None || (mayBeEmpty && fault == TypedNumberFault::Empty))
        return true;
    field->setText(last);
    refuseTyped(field, typedNumberRefusal(fieldName, fault));
    return false;
}

} // namespace vexo
