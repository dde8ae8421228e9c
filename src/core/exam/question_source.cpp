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

} // namespace

bool QuestionSource::isUtf8(const QByteArray& bytes) {
    if (isAscii(bytes)) {
        return false;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

QStringList QuestionSource::lines(const QByteArray& bytes) {
    if (!isUtf8(bytes)) {
        return splitLines(CodePage::decode(bytes));
    }
    QStringDecoder decoder(QStringDecoder::Utf8); // drops an initial byte order mark
    return splitLines(decoder.decode(bytes));
}

QStringList QuestionSource::read(const QString& path) {
    int error = 0;
    const auto bytes = readWholeFile(path, &error);
    if (!bytes) {
        throw failures::ioError(error, path);
    }
    return lines(*bytes);
}

} // namespace velmora
