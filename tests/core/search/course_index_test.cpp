// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/search/course_index.h"
#include "core/search/sqlite_database.h"
#include "core/storage/code_page.h"
#include "core/storage/failure.h"
#include "support/temp_folder.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <memory>

using namespace velmora;
using velmora::test::TempFolder;

namespace {

class CourseIndexTest : public ::testing::Test {
protected:
    // Writes a document and lists it for the next update; its caption is its name.
    void add(const QString& name, const QByteArray& bytes) {
        folder.write(name, bytes);
        documents.append({folder.file(name), name});
    }
    void add(const QString& name, const QString& html) { add(name, html.toUtf8()); }

    // Rewrites a document with a modification time of its own, so no clock tick is waited for.
    void rewrite(const QString& name, const QString& html, qint64 secondsLater) {
        const QDateTime modified = QFileInfo(folder.file(name)).lastModified();
        folder.write(name, html.toUtf8());
        QFile file(folder.file(name));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(
            file.setFileTime(modified.addSecs(secondsLater), QFileDevice::FileModificationTime));
    }

    QSet<QString> everything() const {
        QSet<QString> paths;
        for (const IndexedDocument& d : documents) {
            paths.insert(d.path);
        }
        return paths;
    }

    // The names of the documents found, best first.
    QStringList found(const QString& typed, const CourseIndex& in) const {
        QStringList names;
        for (const SearchHit& hit : in.search(typed, everything())) {
            names.append(QFileInfo(hit.path).fileName());
        }
        return names;
    }
    QStringList found(const QString& typed) const { return found(typed, index); }

    TempFolder folder;
    CourseIndex index{folder.file(QStringLiteral("index.db"))};
    QList<IndexedDocument> documents;
};

QStringList sorted(QStringList names) {
    names.sort();
    return names;
}

TEST_F(CourseIndexTest, FindsWordsAsTypedInAnyCaseAndCharacterSet) {
    add(QStringLiteral("a.html"),
        QStringLiteral("<html><head><title>Дәріс 1</title><style>.script{color:red}</style>"
                       "<script>var script = 1;</script></head><body><p class=\"script\">"
                       "Ақпараттық жүйелер мен процессы</p></body></html>"));
    add(QStringLiteral("b.html"), CodePage::encode(u"<p>Өңделген деректер қоры</p>"));
    // Russian letters are the same bytes in windows-1251 and the code page, which every system
    // can write (Qt on Windows has no windows-1251 encoder).
    add(QStringLiteral("c.html"),
        CodePage::encode(
            QStringLiteral("<meta charset=\"windows-1251\"><p>Вычислительные сети</p>")));
    add(QStringLiteral("d.html"), QStringLiteral("<p>жүйелер және ақпарат</p>"));
    add(QStringLiteral("e.html"), QStringLiteral("<p>әғқңөұүһі</p>"));
    ASSERT_EQ(index.update(documents), QStringList());

    struct Case {
        const char16_t* typed;
        QStringList names;
    };
    const QStringList none;
    const Case cases[] = {
        {u"ақпарат", {QStringLiteral("a.html"), QStringLiteral("d.html")}},
        {u"Ақпарат", {QStringLiteral("a.html"), QStringLiteral("d.html")}},
        {u"АҚПАРАТ", {QStringLiteral("a.html"), QStringLiteral("d.html")}},
        {u"процесс", {QStringLiteral("a.html")}},
        {u"ӘҒҚҢӨҰҮҺІ", {QStringLiteral("e.html")}},
        {u"аг", none}, // diacritics kept: ә is not а, ғ is not г
        {u"ӨҢДЕЛГЕН ҚОРЫ", {QStringLiteral("b.html")}},
        {u"вычислительные СЕТИ", {QStringLiteral("c.html")}},
        {u"ақпарат процесс", {QStringLiteral("a.html")}}, // every word must match
        {u"ақпарат жүйелер", {QStringLiteral("a.html"), QStringLiteral("d.html")}},
        {u"\"ақпараттық жүйелер\"", {QStringLiteral("a.html")}},
        {u"\"жүйелер ақпараттық\"", none},
        {u"\"ақпарат\"", {QStringLiteral("d.html")}}, // a quoted word is whole
        {u"дәріс", {QStringLiteral("a.html")}},       // the title is searched too
        {u"script", none},
        {u"color", none},
        {u"var", none},
        {u"", none},
        {u"  \"\" *** ", none},
    };
    for (const Case& c : cases) {
        const QString typed = QString::fromUtf16(c.typed);
        EXPECT_EQ(sorted(found(typed)), c.names) << typed.toStdString();
    }
}

TEST_F(CourseIndexTest, TypedOperatorsAreWordsAndNeverAnError) {
    add(QStringLiteral("a.html"), QStringLiteral("<p>ақпарат процесі NEAR or not and body</p>"));
    index.update(documents);
    const QStringList a{QStringLiteral("a.html")};
    const QString cases[] = {
        QStringLiteral("ақпарат OR (процес* NEAR \""),
        QStringLiteral("-ақпарат +процес"),
        QStringLiteral("body:ақпарат ^процес"),
        QStringLiteral("NEAR(ақпарат процес)"),
        QStringLiteral("ақпарат AND OR NOT"),
        QStringLiteral("{ақпарат}[процес]'\\"),
        QStringLiteral("ақпарат ") + QString(2000, QLatin1Char('"')),
    };
    for (const QString& typed : cases) {
        EXPECT_EQ(found(typed), a) << typed.toStdString();
    }
    QString noise;
    for (int i = 0; i < 200; ++i) {
        noise += QStringLiteral("\"*-():^+ ");
    }
    EXPECT_EQ(found(noise), QStringList());
    EXPECT_TRUE(index.search(QStringLiteral("ақпарат"), everything(), 0).isEmpty());
}

TEST_F(CourseIndexTest, RanksTitleAndRepeatedWordsFirstAndShowsTheMatch) {
    const QString filler = QStringLiteral(" мәтін").repeated(20);
    add(QStringLiteral("once.html"), QStringLiteral("<p>алгоритмдер%1</p>").arg(filler));
    add(QStringLiteral("many.html"), QStringLiteral("<title>Алгоритм</title><p>алгоритм "
                                                    "алгоритмі &lt;b&gt; алгоритмдер%1</p>")
                                         .arg(filler));
    add(QStringLiteral("body.html"),
        QStringLiteral("<title>Басқа</title><p>желі желі%1</p>").arg(filler));
    add(QStringLiteral("title.html"), QStringLiteral("<title>Желі</title><p>%1</p>").arg(filler));
    index.update(documents);

    EXPECT_EQ(found(QStringLiteral("алгоритм")),
              (QStringList{QStringLiteral("many.html"), QStringLiteral("once.html")}));
    EXPECT_EQ(found(QStringLiteral("желі")),
              (QStringList{QStringLiteral("title.html"), QStringLiteral("body.html")}));

    const QList<SearchHit> hits = index.search(QStringLiteral("АЛГОРИТМ"), everything(), 1);
    ASSERT_EQ(hits.size(), 1);
    EXPECT_EQ(hits[0].title, QStringLiteral("Алгоритм"));
    EXPECT_EQ(hits[0].firstWord, QStringLiteral("алгоритм"));
    EXPECT_TRUE(hits[0].snippet.startsWith(
        QStringLiteral("<b>алгоритм</b> <b>алгоритмі</b> &lt;b&gt; <b>алгоритмдер</b> мәтін")))
        << hits[0].snippet.toStdString();
    // no <title>: the caption; a match only in the title is the snippet
    const QList<SearchHit> once =
        index.search(QStringLiteral("алгоритмдер"), {folder.file(QStringLiteral("once.html"))});
    ASSERT_EQ(once.size(), 1);
    EXPECT_EQ(once[0].title, QStringLiteral("once.html"));
    const QList<SearchHit> titleOnly =
        index.search(QStringLiteral("желі"), {folder.file(QStringLiteral("title.html"))});
    ASSERT_EQ(titleOnly.size(), 1);
    EXPECT_EQ(titleOnly[0].snippet, QStringLiteral("<b>Желі</b>"));
    EXPECT_EQ(titleOnly[0].firstWord, QStringLiteral("Желі"));
}

TEST_F(CourseIndexTest, SearchesOnlyTheAllowedDocumentsUpToTheLimit) {
    for (const char* name : {"1.html", "2.html", "3.html"}) {
        add(QString::fromLatin1(name), QStringLiteral("<p>дәріс</p>"));
    }
    index.update(documents);
    const QString second = folder.file(QStringLiteral("2.html"));
    const QList<SearchHit> hits =
        index.search(QStringLiteral("дәріс"), {second, QStringLiteral("/x")});
    ASSERT_EQ(hits.size(), 1);
    EXPECT_EQ(hits[0].path, second);
    EXPECT_EQ(index.search(QStringLiteral("дәріс"), everything(), 2).size(), 2);
    EXPECT_TRUE(index.search(QStringLiteral("дәріс"), {}).isEmpty());
}

TEST_F(CourseIndexTest, UpdateRereadsChangedFilesAndDropsTheRest) {
    add(QStringLiteral("changed.html"), QStringLiteral("<p>бірінші</p>"));
    add(QStringLiteral("kept.html"), QStringLiteral("<p>тұрақты</p>"));
    add(QStringLiteral("unlisted.html"), QStringLiteral("<p>тізімнен</p>"));
    add(QStringLiteral("deleted.html"), QStringLiteral("<p>жойылған</p>"));
    add(QStringLiteral("renamed.html"), QStringLiteral("<p>атау</p>"));
    ASSERT_EQ(index.update(documents), QStringList());

    // Same size and modification time: not read again, so the new words are not seen.
    rewrite(QStringLiteral("kept.html"), QStringLiteral("<p>өзгеріс</p>"), 0);
    rewrite(QStringLiteral("changed.html"), QStringLiteral("<p>екінші</p>"), 10);
    QFile::remove(folder.file(QStringLiteral("deleted.html")));
    documents.removeAt(2); // unlisted.html
    documents[3].caption =
        QStringLiteral("Жаңа атау"); // renamed.html: no <title>, so the caption is
    add(QStringLiteral("picture.png"), QByteArray("\x89PNG\0\0", 6));
    documents.append({folder.file(QStringLiteral("missing.html")), QStringLiteral("missing")});

    EXPECT_EQ(index.update(documents), (QStringList{folder.file(QStringLiteral("deleted.html")),
                                                    folder.file(QStringLiteral("picture.png")),
                                                    folder.file(QStringLiteral("missing.html"))}));
    EXPECT_EQ(found(QStringLiteral("бірінші")), QStringList());
    EXPECT_EQ(found(QStringLiteral("екінші")), QStringList{QStringLiteral("changed.html")});
    EXPECT_EQ(found(QStringLiteral("тұрақты")), QStringList{QStringLiteral("kept.html")});
    EXPECT_EQ(found(QStringLiteral("өзгеріс")), QStringList());
    EXPECT_EQ(found(QStringLiteral("жойылған")), QStringList());
    EXPECT_EQ(found(QStringLiteral("жаңа")), QStringList{QStringLiteral("renamed.html")});
    EXPECT_TRUE(
        index.search(QStringLiteral("тізімнен"), {folder.file(QStringLiteral("unlisted.html"))})
            .isEmpty());
}

TEST_F(CourseIndexTest, AnotherObjectOnTheFileSeesTheUpdates) {
    add(QStringLiteral("a.html"), QStringLiteral("<p>ортақ</p>"));
    const CourseIndex reader(folder.file(QStringLiteral("index.db")));
    index.update(documents);
    EXPECT_EQ(found(QStringLiteral("ортақ"), reader), QStringList{QStringLiteral("a.html")});
}

TEST(CourseIndexFile, DamagedOrForeignFilesAreReplacedAndOursKept) {
    const TempFolder folder;
    const QString path = folder.file(QStringLiteral("index.db"));
    folder.write(QStringLiteral("a.html"), "<p>сақталған</p>");
    const QSet<QString> all{folder.file(QStringLiteral("a.html"))};
    const QList<IndexedDocument> documents{
        {folder.file(QStringLiteral("a.html")), QStringLiteral("A")}};
    CourseIndex(path).update(documents);
    EXPECT_EQ(CourseIndex(path).search(QStringLiteral("сақталған"), all).size(), 1);

    QByteArray valid = folder.read(QStringLiteral("index.db"));
    QByteArray damaged = valid;
    damaged.replace(4096, 4096, QByteArray(4096, '\x5A')); // the second page
    const QByteArray contents[] = {
        QByteArray(3000, '\x7F'),
        "SQLite format 3" + QByteArray(100, '\0'),
        damaged,
        QByteArray("not a database at all"),
    };
    for (const QByteArray& bytes : contents) {
        folder.write(QStringLiteral("index.db"), bytes);
        QFile::remove(path + QStringLiteral("-wal"));
        CourseIndex index(path);
        EXPECT_TRUE(index.search(QStringLiteral("сақталған"), all).isEmpty());
        EXPECT_EQ(index.update(documents), QStringList());
        EXPECT_EQ(index.search(QStringLiteral("сақталған"), all).size(), 1);
    }
    QFile::remove(path);
    SqliteDatabase(path).execute("CREATE TABLE grades(name TEXT)"); // another program's database
    CourseIndex foreign(path);
    EXPECT_EQ(foreign.update(documents), QStringList());
    EXPECT_EQ(foreign.search(QStringLiteral("сақталған"), all).size(), 1);

    EXPECT_THROW(CourseIndex(folder.file(QStringLiteral("no/such/folder/index.db"))), Failure);
}

TEST(CourseIndexFile, ScrambledWordBlocksAreDamageThatDroppingMendsALockIsNot) {
    using namespace std::chrono_literals;
    const TempFolder folder;
    const QString path = folder.file(QStringLiteral("index.db"));
    folder.write(QStringLiteral("a.html"), "<p>сақталған</p>");
    const QSet<QString> all{folder.file(QStringLiteral("a.html"))};
    QList<IndexedDocument> documents{{folder.file(QStringLiteral("a.html")), QStringLiteral("A")}};
    auto index = std::make_unique<CourseIndex>(path, 50ms);
    index->update(documents);

    {
        const SqliteDatabase other(path); // another copy of the program writing
        other.execute("BEGIN IMMEDIATE");
        documents[0].caption = QStringLiteral("B");
        EXPECT_THROW(index->update(documents), Failure);
        EXPECT_FALSE(index->damaged());
    }
    SqliteDatabase(path).execute("UPDATE document_text_data SET block = randomblob(length(block))");
    EXPECT_THROW(index->search(QStringLiteral("сақталған"), all), Failure);
    EXPECT_TRUE(index->damaged());
    documents[0].caption = QStringLiteral("C");
    EXPECT_THROW(index->update(documents), Failure);
    EXPECT_TRUE(index->damaged());

    index.reset();
    CourseIndex::drop(path);
    EXPECT_FALSE(QFile::exists(path));
    CourseIndex rebuilt(path);
    EXPECT_EQ(rebuilt.update(documents), QStringList());
    EXPECT_EQ(rebuilt.search(QStringLiteral("сақталған"), all).size(), 1);
}

} // namespace
