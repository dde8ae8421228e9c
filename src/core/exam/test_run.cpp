// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/test_run.h"

#include "core/exam/grade_bands.h"
#include "core/exam/test_file.h"
#include "core/exam/test_fingerprint.h"
#include "core/storage/code_page.h"
#include "core/storage/data_path.h"
#include "core/storage/failure.h"
#include "core/storage/ini_text.h"
#include "core/storage/integer_text.h"
#include "core/storage/safe_file.h"
#include "core/storage/scrambled_store.h"

#include <QFileInfo>
#include <cerrno>

namespace velmora {
namespace {

// One reading of a test file for the several values a step needs: the file is read whole once and
// its sections are indexed in one pass; values are looked up and unscrambled as readini does (a
// missing file, section or key gives the missing value). Nothing outlives the step.
// TestFile reads every value through readini, a whole-file read each; a step here needs up to
// eight values, and a large test file must still answer at once.
class TestFileSnapshot {
public:
    explicit TestFileSnapshot(const QString& testname)
        : text_(
              readWholeFile(programFolderPath(TestRun::filePath(testname))).value_or(QByteArray())),
          sections_(IniText::sectionSpans(text_)) {}
    TestFileSnapshot(const TestFileSnapshot&) = delete;
    TestFileSnapshot& operator=(const TestFileSnapshot&) = delete;

    QString value(const QString& section, const QString& key) const {
        const QByteArray name = CodePage::encode(section);
        std::optional<QByteArray> stored;
        for (const IniText::SectionSpan& s : sections_) {
            if (IniText::namesMatch(s.name, name)) {
                stored = IniText::value(s.lines, name, CodePage::encode(key));
                break;
            }
        }
        QByteArray plain;
        crypt(stored.value_or(QByteArray(kMissingMarker)), kScrambleKey, plain);
        return CodePage::decode(plain);
    }

    QString mark() const { return testFingerprint(text_); }

    int total() const { return toInteger(value(testkeys::infoSection(), testkeys::total())); }

    AnsweredQuestion answered(int number, int position) const {
        const QString section = QString::number(number);
        return {number, position, value(section, testkeys::question()),
                value(section, testkeys::position())};
    }

    std::array<bool, kAnswersPerQuestion> emptyAnswers(int number) const {
        std::array<bool, kAnswersPerQuestion> empty{};
        const Question q = question(number);
        for (int i = 0; i < kAnswersPerQuestion; ++i) {
            // A missing answer reads as the store's marker; the screen shows it as empty.
            empty[size_t(i)] =
                q.answers[size_t(i)].trimmed().isEmpty() || q.answers[size_t(i)] == missingValue();
        }
        return empty;
    }

    bool isCorrect(int number, int position) const {
        return value(QString::number(number), testkeys::position()) == QString::number(position);
    }

    Question question(int number) const {
        const QString section = QString::number(number);
        Question q;
        q.text = value(section, testkeys::question());
        for (int position = 1; position <= kAnswersPerQuestion; ++position) {
            q.answers[position - 1] = value(section, testkeys::answer(position));
        }
        q.correct = value(section, testkeys::position());
        return q;
    }

private:
    QByteArray text_;
    QList<IniText::SectionSpan> sections_; // views into text_
};

// Throws the file error when the test file of `testname` is missing.
void requireTestFile(const QString& testname) {
    const QString path = programFolderPath(TestRun::filePath(testname));
    if (!QFileInfo(path).isFile()) {
        throw failures::cannotOpenFile(path, ENOENT);
    }
}

} // namespace

QString TestRun::filePath(const QString& testname) {
    return TestFile::named(testname).relativePath();
}

QString TestRun::noQuestionsMessage() {
    return QStringLiteral("В тесте нет вопросов!");
}

int TestRun::slotOf(const QString& testname) {
    const QLatin1StringView prefix("test");
    if (!testname.startsWith(prefix)) {
        return 0;
    }
    // The slot number in decimal digits, without a leading zero.
    const QStringView digits = QStringView(testname).sliced(prefix.size());
    if (digits.isEmpty() || digits.front() == u'0') {
        return 0;
    }
    int slot = 0;
    for (const QChar c : digits) {
        const char16_t digit = c.unicode();
        if (digit < u'0' || digit > u'9') {
            return 0;
        }
        slot = slot * 10 + (digit - u'0');
        if (slot > kMaxGradeSlots) {
            return 0;
        }
    }
    return slot;
}

std::optional<Question> TestRun::start(const QString& testname) {
    requireTestFile(testname);
    const TestFileSnapshot file(testname);
    const int total = file.total();
    if (total < 1) {
        return std::nullopt;
    }
    testname_ = testname;
    qnumber_ = 1;
    correct_ = 0;
    total_ = total;
    lastAnswered_.reset();
    plan_.reset();
    chosen_.clear();
    return file.question(1);
}

std::optional<Question> TestRun::start(const QString& testname, const TestSettings& settings,
                                       quint64 seed) {
    if (settings.isPlain()) {
        plan_.reset();
        chosen_.clear();
        return start(testname);
    }
    requireTestFile(testname);
    const TestFileSnapshot file(testname);
    const int held = file.total();
    if (held < 1) {
        return std::nullopt;
    }
    AttemptPlan plan = AttemptPlan::make(seed, held, settings,
                                         [&](int section) { return file.emptyAnswers(section); });
    return resume(testname, plan, {}, QDateTime::currentDateTimeUtc());
}

std::optional<Question> TestRun::resume(const QString& testname, const AttemptPlan& plan,
                                        const QList<int>& chosen, const QDateTime& started) {
    requireTestFile(testname);
    const TestFileSnapshot file(testname);
    testname_ = testname;
    plan_ = plan;
    started_ = started;
    fileMark_ = file.mark();
    chosen_.clear();
    correct_ = 0;
    total_ = int(plan.sections.size());
    lastAnswered_.reset();
    for (qsizetype k = 0; k < chosen.size() && k < plan.sections.size(); ++k) {
        chosen_.append(chosen[k]);
        if (file.isCorrect(plan.sections[k], chosen[k])) {
            ++correct_;
        }
    }
    qnumber_ = int(chosen_.size()) + 1;
    if (qnumber_ > total_) {
        return std::nullopt;
    }
    return AttemptPlan::shown(file.question(plan.sections[qnumber_ - 1]),
                              plan.orders[qnumber_ - 1]);
}

void TestRun::endNow() {
    qnumber_ = total_ + 1;
}

void TestRun::close(const QString& testname, int asked, int correct) {
    testname_ = testname;
    plan_.reset();
    chosen_.clear();
    lastAnswered_.reset();
    total_ = asked;
    correct_ = correct;
    qnumber_ = total_ + 1;
}

std::optional<Question> TestRun::answerPlanned(int position) {
    const qsizetype asked = qnumber_ - 1;
    if (asked < 0 || asked >= plan_->sections.size()) {
        return std::nullopt;
    }
    const TestFileSnapshot file(testname_);
    const int section = plan_->sections[asked];
    const int inFile = AttemptPlan::filePosition(plan_->orders[asked], position);
    lastAnswered_ = file.answered(section, inFile);
    lastAnswered_->asked = int(asked) + 1;
    lastAnswered_->seed = plan_->seed;
    if (file.isCorrect(section, inFile)) {
        ++correct_;
    }
    chosen_.append(inFile);
    ++qnumber_;
    if (qnumber_ <= total_) {
        return AttemptPlan::shown(file.question(plan_->sections[qnumber_ - 1]),
                                  plan_->orders[qnumber_ - 1]);
    }
    return std::nullopt;
}

std::optional<Question> TestRun::answer(int position) {
    if (plan_) {
        return answerPlanned(position);
    }
    const TestFileSnapshot file(testname_);
    lastAnswered_ = file.answered(qnumber_, position);
    if (file.isCorrect(qnumber_, position)) {
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
    if (plan_) {
        return plannedQuestion(number);
    }
    return TestFileSnapshot(testname_).question(number);
}

Question TestRun::plannedQuestion(int asked) const {
    if (asked < 1 || asked > plan_->sections.size()) {
        return {};
    }
    return AttemptPlan::shown(TestFileSnapshot(testname_).question(plan_->sections[asked - 1]),
                              plan_->orders[asked - 1]);
}

} // namespace velmora
