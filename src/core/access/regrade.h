// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace velmora {

// One student's grade that a regrade changes.
struct RegradeChange {
    QString name; // as the register's section is named
    int oldGrade = 0;
    int newGrade = 0;

    // "name: 2 → 4"
    QString text() const;
};

// Regrading a test after its answer key was mended: each registered student's last finished
// attempt (the last whose answers the test log's line for the test follows) is scored again from
// the answer log against the test file's current key, over the questions the attempt was asked,
// with the grade bands. An answer to a question whose text changed since (or that is gone) keeps
// its logged result, and the question is named. Students who have not taken the test, and whose
// stored grade is not a grade, are left alone. Reading writes nothing.
class Regrade {
public:
    static Regrade plan(const QString& reportfile, const QString& testname);

    const QString& testname() const { return testname_; }
    const QList<RegradeChange>& changes() const { return changes_; }
    // The numbers of the questions whose logged results were kept, ascending.
    const QList<int>& keptQuestions() const { return keptQuestions_; }
    // "Вопросы, изменённые с тех пор, оставлены как были: 3, 7", or empty.
    QString keptNote() const;

    // Writes every new grade to the user register in one locked, atomic rewrite (all students or
    // none), then appends a line per change to the regrade log beside the test log. The passes a
    // new grade makes unlock at the student's next sign-in. Throws when the register cannot be
    // written (nothing changed then) or the regrade log cannot be appended to (the grades are
    // written then).
    void apply(const QString& reportfile, const QDateTime& when) const;

    // The regrade log beside the test log: "report.txt" gives "report.regrades.txt".
    static QString logPath(const QString& reportfile);
    // "name | 03.02.2025 | 14:05:09 | test1 | 2 | 4"
    static QString logLine(const RegradeChange& change, const QDateTime& when,
                           const QString& testname);

private:
    QString testname_;
    QList<RegradeChange> changes_;
    QList<int> keptQuestions_;
};

} // namespace velmora
