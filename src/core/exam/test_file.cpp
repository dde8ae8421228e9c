// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/test_file.h"

#include "core/storage/code_page.h"
#include "core/storage/data_path.h"
#include "core/storage/ini_text.h"
#include "core/storage/integer_text.h"
#include "core/storage/safe_file.h"
#include "core/storage/scrambled_store.h"

namespace velmora {

std::optional<QChar> Question::correctLetter() const {
    for (int position = 1; position <= kAnswersPerQuestion; ++position) {
        if (isCorrect(position)) {
            return QChar(u'A' + position - 1);
        }
    }
    return std::nullopt;
}

TestFile TestFile::named(const QString& testName) {
    return TestFile(QStringLiteral("\\data\\tests\\") + testName + QStringLiteral(".ini"));
}

Question TestFile::question(int number) const {
    const QString section = QString::number(number);
    Question q;
    q.text = readini(section, testkeys::question(), relativePath_);
    for (int position = 1; position <= kAnswersPerQuestion; ++position) {
        q.answers[position - 1] = readini(section, testkeys::answer(position), relativePath_);
    }
    q.correct = readini(section, testkeys::position(), relativePath_);
    return q;
}

QString TestFile::totalText() const {
    return readini(testkeys::infoSection(), testkeys::total(), relativePath_);
}

int TestFile::total() const {
    return toInteger(totalText());
}

QStringList TestFile::sectionNames() const {
    QStringList names;
    if (const auto text = readWholeFile(programFolderPath(relativePath_))) {
        for (const QByteArray& name : IniText::sectionNames(*text)) {
            names.append(CodePage::decode(name));
        }
    }
    return names;
}

} // namespace velmora
