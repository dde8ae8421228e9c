// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/search/document_text.h"
#include "core/storage/code_page.h"

#include <QStringEncoder>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

QByteArray encoded(const char* charset, const QString& text) {
    QStringEncoder encoder(charset);
    return encoder(text);
}

TEST(DocumentText, KeepsOnlyTheReadableText) {
    struct Case {
        QString html;
        QString title;
        QString text;
    };
    const Case cases[] = {
        {QStringLiteral("<html><head><title> Дәріс \n 1 </title><style>p.script{}</style>"
                        "<script>var script = '<p>';</script></head><body>"
                        "<p class=\"script\">Ақпарат<br>жүйесі</p><!-- <p>comment</p> --></body>"),
         QStringLiteral("Дәріс 1"), QStringLiteral("Ақпарат\nжүйесі")},
        // inline elements and soft hyphens do not split a word; blocks do
        {QStringLiteral("ақпа<b>рат</b>тық про&shy;цесс<td>а</td><li>б<div>в<h3>г</h3>"), QString(),
         QStringLiteral("ақпараттық процесс\nа\nб\nв\nг")},
        {QStringLiteral("a&amp;b &lt;i&gt; &#1179;&#x4E9;&nbsp;x &unknown; & &#0;"), QString(),
         QStringLiteral("a&b <i> қө x &unknown; & \uFFFD")},
        {QStringLiteral("a < b, 3<4 <a title=\"x > y\" href='>'>link</a>"), QString(),
         QStringLiteral("a < b, 3<4 link")},
        {QStringLiteral("<SCRIPT>a</SCRIPT>b<script>c</scriptx>d</script >e<style/>f"), QString(),
         QStringLiteral("bef")},
        {QStringLiteral("text<script>never closed"), QString(), QStringLiteral("text")},
        {QStringLiteral("<!DOCTYPE html><?xml x?><p>x<!-- never closed"), QString(),
         QStringLiteral("x")},
        {QStringLiteral("<title>A</title><title>B</title><textarea>t</textarea>"),
         QStringLiteral("A"), QStringLiteral("t")},
        {QStringLiteral("a\u0001b\tc"), QString(), QStringLiteral("a b c")},
    };
    for (const Case& c : cases) {
        const std::optional<DocumentText> read = readDocumentText(c.html.toUtf8());
        ASSERT_TRUE(read) << c.html.toStdString();
        EXPECT_EQ(read->title, c.title) << c.html.toStdString();
        EXPECT_EQ(read->text, c.text) << c.html.toStdString();
    }
}

TEST(DocumentText, DecodesInTheDocumentsOwnCharacterSet) {
    const QString kazakh = QStringLiteral("<p>Өңделген қоры</p>");
    const QString russian = QStringLiteral("<p>Процессы</p>");
    struct Case {
        QByteArray bytes;
        QString text;
    };
    const Case cases[] = {
        {kazakh.toUtf8(), QStringLiteral("Өңделген қоры")},
        {"\xEF\xBB\xBF" + kazakh.toUtf8(), QStringLiteral("Өңделген қоры")},
        {encoded("UTF-16LE", QStringLiteral("\uFEFF") + kazakh), QStringLiteral("Өңделген қоры")},
        {CodePage::encode(kazakh), QStringLiteral("Өңделген қоры")},
        {encoded("windows-1251", QStringLiteral("<meta charset=\"windows-1251\">") + russian),
         QStringLiteral("Процессы")},
        // KOI8-R bytes read in the code page would be other letters: the declaration is obeyed
        {encoded("koi8-r", QStringLiteral("<META CHARSET=KOI8-R>") + russian),
         QStringLiteral("Процессы")},
        {encoded("koi8-r", QStringLiteral("<meta http-equiv=\"Content-Type\" "
                                          "content=\"text/html; charset=koi8-r\">") +
                               russian),
         QStringLiteral("Процессы")},
        {CodePage::encode(QStringLiteral("<meta charset=\"rk1048\">") + kazakh),
         QStringLiteral("Өңделген қоры")},
        // a declaration the bytes contradict, or a charset nobody knows: UTF-8, else the code page
        {CodePage::encode(QStringLiteral("<meta charset=\"utf-8\">") + kazakh),
         QStringLiteral("Өңделген қоры")},
        {(QStringLiteral("<meta charset=\"x-no-such\">") + kazakh).toUtf8(),
         QStringLiteral("Өңделген қоры")},
        {CodePage::encode(QStringLiteral("<meta charset=\"x-no-such\">") + kazakh),
         QStringLiteral("Өңделген қоры")},
        // a meta in the body is not a declaration
        {(QStringLiteral("<body><meta charset=koi8-r>") + kazakh).toUtf8(),
         QStringLiteral("Өңделген қоры")},
    };
    for (const Case& c : cases) {
        if (c.bytes.isEmpty()) {
            continue; // this system's Qt has no encoder of that charset (Windows: no ICU)
        }
        const std::optional<DocumentText> read = readDocumentText(c.bytes);
        ASSERT_TRUE(read) << c.bytes.toHex().toStdString();
        EXPECT_EQ(read->text, c.text) << c.bytes.toHex().toStdString();
    }
}

TEST(DocumentText, BinaryDataIsNotText) {
    EXPECT_FALSE(readDocumentText(QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)));
    EXPECT_FALSE(readDocumentText(QByteArray("<p>a\0b</p>", 11)));
    EXPECT_TRUE(readDocumentText(QByteArray()));
}

} // namespace
