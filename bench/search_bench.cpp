// SPDX-License-Identifier: GPL-3.0-or-later
// The course search on a generated course of 1,000 HTML documents of about 20 KB each (20 MB),
// Kazakh and Russian text with markup, styles and scripts; a third of the files in the code page,
// the rest in UTF-8. Searches of one and of three words for the first 20 results on a warm index,
// the building of the whole index, and the update after one document changed.

#include "core/search/course_index.h"
#include "core/storage/code_page.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>
#include <vector>

using namespace velmora;

namespace {

constexpr int kDocuments = 1000;
constexpr qsizetype kDocumentBytes = 20'000;

// The vocabulary, most frequent first: function words, then the course's own stems, then 2,000
// made-up stems of Kazakh and Russian syllables. Words are drawn with Zipf's law (the word of
// rank r with a weight of 1 / r), so a course stem such as "ақпарат" is about 0.6 % of the words,
// as a lecture's key terms are, and the function words nearly half. Stems take endings: Kazakh
// and Russian words change them, so the course holds many forms of each stem, as the prefix search
// has to find.
const QStringList& functionWords() {
    static const QStringList list =
        QStringLiteral("және мен бұл үшін да де бен ол осы оның и в на с по для что это как "
                       "не")
            .split(QLatin1Char(' '));
    return list;
}

const QStringList& stems() {
    static const QStringList list = [] {
        QStringList words =
            QStringLiteral(
                "ақпарат жүйе процесс деректер қор желі алгоритм бағдарлама есеп құрылғы "
                "компьютер мәлімет басқару өңдеу сақтау іздеу дәріс зертхана тапсырма сабақ "
                "оқушы мұғалім білім ғылым техника әдіс құрал сызба кесте файл парақ сервер "
                "клиент хаттама байланыс информаци систем вычислени программ памят процессор "
                "устройств сет данн структур модел операци функци переменн массив цикл услови "
                "таблиц запрос лекци лаборатор задани студент преподавател методик анализ "
                "синтез проект")
                .split(QLatin1Char(' '));
        const QStringList syllables =
            QStringLiteral("ба қа ре ті мо ғы лу ны сә кө ұр үл ші де жа ор ис тан лік ова пер "
                           "ст ко ми да ну хо ей ың ағ")
                .split(QLatin1Char(' '));
        std::mt19937 random(7);
        std::uniform_int_distribution<qsizetype> pick(0, syllables.size() - 1);
        const qsizetype courseStems = words.size();
        while (words.size() < courseStems + 2'000) {
            QString word;
            for (int i = 0; i < 3; ++i) {
                word += syllables.at(pick(random));
            }
            words.append(word);
        }
        return words;
    }();
    return list;
}

const QStringList& endings() {
    static const QStringList list =
        QStringLiteral(" тық ты тар лар ға қа да ы і ның нің мен а у ом ой ая ые ов ами ах е")
            .split(QLatin1Char(' '));
    return list;
}

std::discrete_distribution<qsizetype> zipf() {
    std::vector<double> weights;
    const qsizetype size = functionWords().size() + stems().size();
    for (qsizetype rank = 1; rank <= size; ++rank) {
        weights.push_back(1.0 / static_cast<double>(rank));
    }
    return {weights.begin(), weights.end()};
}

class TextMaker {
public:
    explicit TextMaker(unsigned seed) : random_(seed) {}

    QString word() {
        const qsizetype rank = zipf_(random_);
        if (rank < functionWords().size()) {
            return functionWords().at(rank);
        }
        const auto ending =
            static_cast<qsizetype>(unit_(random_) * static_cast<double>(endings().size()));
        return stems().at(rank - functionWords().size()) + endings().at(ending);
    }

    QString sentence() {
        QString s = word();
        s[0] = s[0].toUpper();
        const int n = 6 + static_cast<int>(unit_(random_) * 10);
        for (int i = 1; i < n; ++i) {
            const double markup = unit_(random_);
            if (markup < 0.05) {
                s += QStringLiteral(" <b>%1</b>").arg(word());
            } else if (markup < 0.08) {
                s += QStringLiteral(" <a href=\"lab%1.html\">%2</a>").arg(i).arg(word());
            } else {
                s += QLatin1Char(' ') + word();
            }
        }
        return s + QStringLiteral(". ");
    }

private:
    std::mt19937 random_;
    std::discrete_distribution<qsizetype> zipf_ = zipf();
    std::uniform_real_distribution<double> unit_{0.0, 0.999999};
};

QByteArray generatedDocument(int number, bool codePage) {
    TextMaker maker(static_cast<unsigned>(number));
    QString html =
        QStringLiteral("<!DOCTYPE html>\n<html><head>%1<title>Дәріс %2. %3 %4</title>\n"
                       "<style>body { font-family: 'Times New Roman'; } p.script { margin: 0 }"
                       " .processor { color: #333 }</style>\n<script>function show(system) {"
                       " document.getElementById('algorithm').style.display = 'block'; }"
                       "</script></head>\n<body><h1>%3 %4</h1>\n")
            .arg(codePage ? QString() : QStringLiteral("<meta charset=\"utf-8\">"))
            .arg(number)
            .arg(maker.word(), maker.word());
    qsizetype bytes = codePage ? html.size() : html.toUtf8().size();
    int paragraph = 0;
    while (bytes < kDocumentBytes) {
        QString part = ++paragraph % 7 == 0
                           ? QStringLiteral("<table><tr><td>%1</td><td>%2</td></tr></table>\n")
                                 .arg(maker.word(), maker.word())
                           : QStringLiteral("<p class=\"text\">%1%2%3</p>\n")
                                 .arg(maker.sentence(), maker.sentence(), maker.sentence());
        bytes += codePage ? part.size() : part.toUtf8().size();
        html += part;
    }
    html += QStringLiteral("</body></html>\n");
    return codePage ? CodePage::encode(html) : html.toUtf8();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write the generated course");
    }
}

// The generated course and its index, made once for all the benchmarks of a run.
struct GeneratedCourse {
    QTemporaryDir dir;
    QList<IndexedDocument> documents;
    QSet<QString> paths;
    qint64 bytes = 0;

    GeneratedCourse() {
        for (int n = 1; n <= kDocuments; ++n) {
            const QString path = dir.filePath(QStringLiteral("lecture%1.html").arg(n));
            const QByteArray html = generatedDocument(n, n % 3 == 0);
            writeFile(path, html);
            bytes += html.size();
            documents.append({path, QStringLiteral("Дәріс %1").arg(n)});
            paths.insert(path);
        }
    }

    QString indexPath() const { return dir.filePath(QStringLiteral("index.db")); }

    // The index of the whole course, built at the first call.
    CourseIndex& index() {
        if (!index_) {
            QFile::remove(indexPath());
            index_ = std::make_unique<CourseIndex>(indexPath());
            if (!index_->update(documents).isEmpty()) {
                qFatal("the generated course was not indexed whole");
            }
        }
        return *index_;
    }

private:
    std::unique_ptr<CourseIndex> index_;
};

GeneratedCourse& course() {
    static GeneratedCourse generated;
    return generated;
}

void search(benchmark::State& state, const QString& typed) {
    GeneratedCourse& c = course();
    const CourseIndex& index = c.index();
    qsizetype found = 0;
    for (auto _ : state) {
        const QList<SearchHit> hits = index.search(typed, c.paths, 20);
        found = hits.size();
        benchmark::DoNotOptimize(hits.data());
    }
    if (found != 20) {
        state.SkipWithError("fewer than 20 results");
    }
    state.counters["course_MB"] = static_cast<double>(c.bytes) / 1e6;
}

void BM_SearchOneWord(benchmark::State& state) {
    search(state, QStringLiteral("ақпарат"));
}

void BM_SearchThreeWords(benchmark::State& state) {
    search(state, QStringLiteral("Ақпараттық жүйе процесс"));
}

// The worst case: two letters that begin hundreds of the course's words.
void BM_SearchTwoLetters(benchmark::State& state) {
    search(state, QStringLiteral("ба"));
}

void BM_BuildIndex(benchmark::State& state) {
    GeneratedCourse& c = course();
    const QString path = c.dir.filePath(QStringLiteral("built.db"));
    for (auto _ : state) {
        state.PauseTiming();
        for (const char* suffix : {"", "-wal", "-shm"}) {
            QFile::remove(path + QLatin1String(suffix));
        }
        state.ResumeTiming();
        CourseIndex index(path);
        if (!index.update(c.documents).isEmpty()) {
            state.SkipWithError("a document was left out");
            break;
        }
    }
    state.counters["index_MB"] = static_cast<double>(QFileInfo(path).size()) / 1e6;
}

void BM_ReindexOneChanged(benchmark::State& state) {
    GeneratedCourse& c = course();
    CourseIndex& index = c.index();
    const QString changed = c.documents.at(kDocuments / 2).path;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        writeFile(changed, generatedDocument(kDocuments + ++round, false));
        QFile file(changed);
        if (!file.open(QIODevice::ReadWrite) ||
            !file.setFileTime(QDateTime::currentDateTime().addSecs(round),
                              QFileDevice::FileModificationTime)) {
            state.SkipWithError("cannot touch the changed document");
            break;
        }
        file.close();
        state.ResumeTiming();
        if (!index.update(c.documents).isEmpty()) {
            state.SkipWithError("a document was left out");
            break;
        }
    }
    // The new text is in the index: its title holds the number it was made with.
    if (index.search(QString::number(kDocuments + round), {changed}).isEmpty()) {
        state.SkipWithError("the changed document was not read again");
    }
}

} // namespace

BENCHMARK(BM_SearchOneWord)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchThreeWords)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchTwoLetters)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildIndex)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_ReindexOneChanged)->Unit(benchmark::kMillisecond);
