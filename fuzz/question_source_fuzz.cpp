// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the conversion of a question source into a test file, through the real files: any bytes
// as the source either convert, or are refused with a line's reason, never anything else. After a
// conversion the test file holds the count of question lines under "inf"/"vsego" and the last
// question's text under its number, both read back through the store's unscrambling.

#include "core/exam/question_source.h"
#include "core/exam/question_source_converter.h"
#include "core/storage/code_page.h"
#include "core/storage/failure.h"
#include "core/storage/ini_text.h"
#include "core/storage/safe_file.h"
#include "core/storage/scrambled_store.h"
#include "fuzz_input.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using velmora::fuzz::check;

namespace {

// A folder in memory where the system has one, so that each run's flush to disk costs little.
const QTemporaryDir& workFolder() {
    static const QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                       ? QStringLiteral("/dev/shm/velmora-fuzz-XXXXXX")
                                       : QDir::tempPath() + QStringLiteral("/velmora-fuzz-XXXXXX"));
    return dir;
}

bool isAnswer(const QString& line) {
    return line.size() >= 2 && line[0] >= u'A' && line[0] <= u'E' && line[1] == u')';
}

int questionLines(const QStringList& lines) {
    int n = 0;
    for (const QString& line : lines) {
        n += (!line.isEmpty() && !isAnswer(line) && line != QStringLiteral("********")) ? 1 : 0;
    }
    return n;
}

QString storedValue(const QByteArray& text, const QByteArray& section, const QByteArray& key) {
    const auto value = velmora::IniText::value(text, section, key);
    check(value.has_value());
    QByteArray plain;
    velmora::crypt(*value, velmora::kScrambleKey, plain);
    return velmora::CodePage::decode(plain);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString source = workFolder().filePath(QStringLiteral("source.txt"));
    const QString output = workFolder().filePath(QStringLiteral("test.ini"));
    QFile::remove(output);
    check(velmora::writeFileAtomically(source, bytes) == 0);

    const QStringList lines = velmora::QuestionSource::lines(bytes);
    velmora::QuestionSourceConverter converter;
    try {
        const velmora::ConversionResult result = converter.convert(source, output);
        check(result.questions == questionLines(lines));
        const auto text = velmora::readWholeFile(output);
        check(text.has_value());
        check(storedValue(*text, "inf", "vsego") == QString::number(result.questions));
        if (result.questions > 0) {
            const QByteArray last = QByteArray::number(result.questions);
            check(storedValue(*text, last, "q") == converter.record().text);
        }
    } catch (const velmora::Failure& failure) {
        // Only a line whose text the test file cannot hold, and bytes that are no text, are
        // refused; nothing is written then.
        check(failure.message().startsWith(QStringLiteral("Строка ")) ||
              !velmora::QuestionSource::encodingProblem(bytes).isEmpty());
        check(!QFile::exists(output));
    }
    return 0;
}
