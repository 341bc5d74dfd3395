#pragma once

#include <QValidator>

class QLineEdit;

namespace zarame {

// A maximum length that limits typing only: an edit that would make the text longer than the
// limit keeps only what fits, while a longer text put in by the program is shown whole and can
// still be shortened. (QLineEdit::setMaxLength would cut such a text.)
class TypingLimit final : public QValidator {
public:
    TypingLimit(QLineEdit* field, int maximumLength);

    State validate(QString& input, int& position) const override;

    // Puts a text from the program into the field whole, whatever its length.
    static void ShowWhole(QLineEdit* field, const QString& text);

private:
    bool showingWhole_ = false;
    int maximumLength_;
    QString current_;  // the field's text before the edit under validation
};

}  // namespace zarame
