// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/question_source.h"

#include "core/storage/code_page.h"
#include "core/storage/failure.h"
#include "core/storage/safe_file.h"

#include <QStringDecoder>
#include <algorithm>

namespace velmora {
namespace {

bool isAscii(const QByteArray& bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

QStringList splitLines(const QString& text) {
    QStringList lines;
    qsizetype begin = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c != u'\n' && c != u'\r') {
            ++i;
            continue;
        }
        lines.append(text.sliced(begin, i - begin));
        i += (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ? 2 : 1;
        begin = i;
    }
    if (begin < text.size()) {
        lines.append(text.sliced(begin));
    }
    return lines;
}

enum class Bom { None, Utf8, Utf16Le, Utf16Be, Utf32 };

Bom bomOf(const QByteArray& bytes) {
    if (bytes.startsWith(QByteArrayView("\xFF\xFE\0\0", 4)) ||
        bytes.startsWith(QByteArrayView("\0\0\xFE\xFF", 4))) {
        return Bom::Utf32;
    }
    if (bytes.startsWith("\xFF\xFE")) {
        return Bom::Utf16Le;
    }
    if (bytes.startsWith("\xFE\xFF")) {
        return Bom::Utf16Be;
    }
    return bytes.startsWith("\xEF\xBB\xBF") ? Bom::Utf8 : Bom::None;
}

// True when every surrogate of the text stands in a pair.
bool surrogatesPaired(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        } else if (text[i].isSurrogate()) {
            return false;
        }
    }
    return true;
}

// The text in a Unicode encoding, the byte order mark dropped; `ok` tells whether it was valid.
QString decoded(const QByteArray& bytes, QStringDecoder::Encoding encoding, bool* ok) {
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless); // drops a byte order mark
    QString text = decoder.decode(bytes);
    *ok = !decoder.hasError();
    if (encoding != QStringDecoder::Utf8) {
        *ok = *ok && bytes.size() % 2 == 0 && surrogatesPaired(text);
    }
    return text;
}

} // namespace

QString QuestionSource::encodingProblem(const QByteArray& bytes) {
    bool ok = true;
    switch (bomOf(bytes)) {
    case Bom::Utf32:
        return QStringLiteral("кодировка UTF-32 не поддерживается, сохраните файл в UTF-8");
    case Bom::Utf16Le:
        decoded(bytes, QStringDecoder::Utf16LE, &ok);
        return ok ? QString() : QStringLiteral("ошибка в тексте UTF-16 LE");
    case Bom::Utf16Be:
        decoded(bytes, QStringDecoder::Utf16BE, &ok);
        return ok ? QString() : QStringLiteral("ошибка в тексте UTF-16 BE");
    case Bom::Utf8:
        if (!isUtf8(bytes)) {
            return QStringLiteral("метка порядка байтов UTF-8, но текст не в UTF-8");
        }
        break;
    case Bom::None:
        break;
    }
    if (bytes.contains('\0')) {
        return QStringLiteral(
            "в нём нулевые байты (двоичный файл или UTF-16 без метки порядка байтов)");
    }
    return {};
}

void QuestionSource::requireText(const QByteArray& bytes, const QString& path) {
    if (const QString problem = encodingProblem(bytes); !problem.isEmpty()) {
        throw Failure(QStringLiteral("Файл %1 не читается как текст: %2").arg(path, problem));
    }
}

bool QuestionSource::isSource(const QStringList& lines) {
    return std::any_of(lines.begin(), lines.end(), [](const QString& line) {
        return line.size() >= 3 && line[0] >= u'A' && line[0] <= u'E' && line[1] == u')' &&
               line.back() == u'*';
    });
}

bool QuestionSource::isUtf8(const QByteArray& bytes) {
    if (isAscii(bytes)) {
        return false;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

QStringList QuestionSource::lines(const QByteArray& bytes) {
    bool ok = true;
    switch (bomOf(bytes)) {
    case Bom::Utf16Le:
        return splitLines(decoded(bytes, QStringDecoder::Utf16LE, &ok));
    case Bom::Utf16Be:
        return splitLines(decoded(bytes, QStringDecoder::Utf16BE, &ok));
    default:
        break;
    }
    if (!isUtf8(bytes)) {
        return splitLines(CodePage::decode(bytes));
    }
    return splitLines(decoded(bytes, QStringDecoder::Utf8, &ok));
}

QStringList QuestionSource::read(const QString& path) {
    int error = 0;
    const auto bytes = readWholeFile(path, &error);
    if (!bytes) {
        throw failures::ioError(error, path);
    }
    requireText(*bytes, path);
    return lines(*bytes);
}

} // namespace velmora
