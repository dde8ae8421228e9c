// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/search/search_query.h"

#include <QStringList>

namespace velmora {
namespace {

// Characters that belong to a word, as SQLite's unicode61 tokenizer sees them: letters, digits and
// private-use characters; combining marks stay with the letter before them.
bool isWordCore(char32_t c) {
    return QChar::isLetterOrNumber(c) || QChar::category(c) == QChar::Other_PrivateUse;
}

bool isWordPart(char32_t c) {
    return isWordCore(c) || QChar::isMark(c);
}

// Collects the words and phrases of the typed text as quoted FTS5 strings. Only word characters
// go inside the quotes, so no word can close its string early or read as an operator.
class QueryTerms {
public:
    void addCharacter(char32_t c) {
        if (isWordPart(c) && (!word_.isEmpty() || isWordCore(c))) {
            word_.append(QString::fromUcs4(&c, 1));
        } else {
            endWord();
        }
    }

    void toggleQuote() {
        endWord();
        if (inPhrase_) {
            endPhrase();
        }
        inPhrase_ = !inPhrase_;
    }

    QString expression() {
        endWord();
        endPhrase();
        return terms_.join(QStringLiteral(" AND "));
    }

private:
    void endWord() {
        if (word_.isEmpty()) {
            return;
        }
        if (inPhrase_) {
            phrase_.append(word_);
        } else {
            // A word alone matches every word that begins with it: endings change.
            terms_.append(QLatin1Char('"') + word_ + QStringLiteral("\"*"));
        }
        word_.clear();
    }

    void endPhrase() {
        if (!phrase_.isEmpty()) {
            terms_.append(QLatin1Char('"') + phrase_.join(QLatin1Char(' ')) + QLatin1Char('"'));
        }
        phrase_.clear();
    }

    QString word_;
    QStringList phrase_;
    QStringList terms_;
    bool inPhrase_ = false;
};

} // namespace

QString matchExpression(const QString& typed) {
    QueryTerms terms;
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const QChar c = typed.at(i);
        if (c == QLatin1Char('"')) {
            terms.toggleQuote();
        } else if (c.isHighSurrogate() && i + 1 < typed.size() &&
                   typed.at(i + 1).isLowSurrogate()) {
            terms.addCharacter(QChar::surrogateToUcs4(c, typed.at(i + 1)));
            ++i;
        } else {
            // A lone surrogate is neither letter nor digit: it ends the word.
            terms.addCharacter(c.unicode());
        }
    }
    return terms.expression();
}

} // namespace velmora
