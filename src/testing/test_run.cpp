#include "testing/test_run.h"

#include "access/code_page.h"
#include "access/data_path.h"
#include "access/failure.h"
#include "access/ini_text.h"
#include "access/integer_text.h"
#include "access/safe_file.h"
#include "access/scrambled_store.h"
#include "testing/grade_bands.h"

#include <QFileInfo>
#include <cerrno>

namespace velmora {
namespace {

// One reading of a test file for the several values a step needs: the file is read whole once and
// its sections are indexed in one pass; values are looked up and unscrambled as readini does (a
// missing file, section or key gives the missing value). Nothing outlives the step.
class TestFileSnapshot {
public:
    explicit TestFileSnapshot(const QString& testname)
        : text_(
              readWholeFile(programFolderPath(TestRun::filePath(testname))).value_or(QByteArray())),
          sections_(IniText::sectionSpans(text_)) {}

    QString value(const QString& section, const char* key) const {
        const QByteArray name = CodePage::encode(section);
        std::optional<QByteArray> stored;
        for (const IniText::SectionSpan& s : sections_) {
            if (IniText::namesMatch(s.name, name)) {
                stored = IniText::value(s.lines, name, key);
                break;
            }
        }
        QByteArray plain;
        crypt(stored.value_or(QByteArray(kMissingMarker)), kScrambleKey, plain);
        return CodePage::decode(plain);
    }

    QString value(int section, const char* key) const {
        return value(QString::number(section), key);
    }

    int total() const { return toInteger(value(QStringLiteral("inf"), "vsego")); }

    Question question(int number) const {
        Question q;
        q.number = number;
        q.text = value(number, "q");
        static constexpr std::array<const char*, TestRun::kAnswers> kKeys = {"a1", "a2", "a3", "a4",
                                                                             "a5"};
        for (int i = 0; i < TestRun::kAnswers; ++i) {
            q.answers[i] = value(number, kKeys[i]);
        }
        return q;
    }

private:
    QByteArray text_;
    QList<IniText::SectionSpan> sections_; // views into text_
};

} // namespace

QString TestRun::filePath(const QString& testname) {
    return QStringLiteral("\\data\\tests\\") + testname + QStringLiteral(".ini");
}

QString TestRun::noQuestionsMessage() {
    return QStringLiteral("В тесте нет вопросов!");
}

int TestRun::slotOf(const QString& testname) {
    if (!testname.startsWith(QLatin1String("test")) || testname.size() < 5 || testname.size() > 6) {
        return 0;
    }
    const char16_t last = testname.back().unicode();
    if (last < u'0' || last > u'9') {
        return 0;
    }
    const int digit = last - u'0';
    if (testname.size() == 5) {
        return digit;
    }
    // Two digits: only "test10" … "test12" name a slot.
    return testname[4] == QLatin1Char('1') && digit <= 2 ? digit + 10 : 0;
}

std::optional<Question> TestRun::start(const QString& testname) {
    const QString path = programFolderPath(filePath(testname));
    if (!QFileInfo(path).isFile()) {
        throw failures::cannotOpenFile(path, ENOENT);
    }
    const TestFileSnapshot file(testname);
    const int total = file.total();
    if (total < 1) {
        return std::nullopt;
    }
    testname_ = testname;
    qnumber_ = 1;
    correct_ = 0;
    total_ = total;
    return file.question(1);
}

std::optional<Question> TestRun::answer(int position) {
    const TestFileSnapshot file(testname_);
    if (file.value(qnumber_, "ap") == QString::number(position)) {
        ++correct_;
    }
    ++qnumber_;
    total_ = file.total();
    if (total_ < 1) {
        throw Failure(noQuestionsMessage());
    }
    if (qnumber_ <= total_) {
        return file.question(qnumber_);
    }
    return std::nullopt;
}

TestOutcome TestRun::outcome() const {
    return {GradeBands::grade(correct_, total_), slotOf(testname_)};
}

Question TestRun::question(int number) const {
    return TestFileSnapshot(testname_).question(number);
}

} // namespace velmora
