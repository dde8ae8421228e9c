// SPDX-License-Identifier: GPL-3.0-or-later
#include "admin_command.h"

#include "core/course/course_book.h"
#include "core/results/outbox.h"
#include "core/results/results_settings.h"
#include "core/results/results_status.h"
#include "core/storage/data_path.h"
#include "results/lrs_client.h"
#include "results/results_sender.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace velmora::admin {
namespace {

// The settings of the course folder (the current directory); a message and nothing without them.
std::optional<ResultsSettings> settingsOrSay(QTextStream& err) {
    std::optional<ResultsSettings> settings =
        ResultsSettings::read(programFolder(), CourseBook::current());
    if (!settings) {
        err << "velmora-admin: no results.toml in this course folder; "
               "see velmora-admin results set\n";
    }
    return settings;
}

int set(const QStringList& args, QTextStream& out, QTextStream& /*err*/) {
    const CourseBook& course = CourseBook::current();
    ResultsSettings settings{args[0], args[1], args[2], {}};
    if (const std::optional<ResultsSettings> old = ResultsSettings::read(programFolder(), course)) {
        settings.courseIri = old->courseIri; // a course IRI set in the file stays
    }
    ResultsSettings::write(programFolder(), settings, course);
    // New credentials: a refusal of the old ones no longer holds sending back.
    ResultsStatus status = ResultsStatus::read(programFolder());
    if (status.stopped) {
        status.stopped = false;
        status.lastError.clear();
        ResultsStatus::write(programFolder(), status);
    }
    out << "results.toml written (readable by its owner only)\n";
    return 0;
}

int show(const QStringList& /*args*/, QTextStream& out, QTextStream& err) {
    const std::optional<ResultsSettings> settings = settingsOrSay(err);
    if (!settings) {
        return 1;
    }
    // The secret is never printed: only whether there is one.
    out << "endpoint: " << settings->endpoint << "\n"
        << "key: " << settings->key << "\n"
        << "secret: " << (settings->secret.isEmpty() ? "(none)" : "(set)") << "\n"
        << "course: " << settings->courseIri << "\n";
    return 0;
}

int status(const QStringList& /*args*/, QTextStream& out, QTextStream& /*err*/) {
    const QString folder = programFolder();
    const ResultsStatus status = ResultsStatus::read(folder);
    const Outbox outbox(folder);
    out << "sent: " << status.sent << "\n"
        << "waiting: " << outbox.count() << "\n"
        << "refused: " << outbox.refusedCount() << "\n";
    if (!status.lastError.isEmpty()) {
        out << "last error: " << status.lastError << "\n";
    }
    if (status.stopped) {
        out << "sending stopped until the key and secret are set again\n";
    }
    return status.stopped ? 1 : 0;
}

int send(const QStringList& /*args*/, QTextStream& out, QTextStream& err) {
    const std::optional<ResultsSettings> settings = settingsOrSay(err);
    if (!settings) {
        return 1;
    }
    LrsClient client(*settings);
    const SendReport report = ResultsSender(programFolder(), client).send();
    for (const QString& line : report.setAside) {
        err << "velmora-admin: " << line << "\n";
    }
    if (report.busy) {
        out << "another copy of the program is sending; " << report.waiting << " waiting\n";
        return 0;
    }
    out << "sent: " << report.accepted << ", refused: " << report.refused
        << ", waiting: " << report.waiting << "\n";
    if (!report.error.isEmpty()) {
        err << "velmora-admin: " << report.error << "\n";
        return 1;
    }
    return 0;
}

int check(const QStringList& /*args*/, QTextStream& out, QTextStream& err) {
    const std::optional<ResultsSettings> settings = settingsOrSay(err);
    if (!settings) {
        return 1;
    }
    LrsClient client(*settings);
    const LrsReply reply = client.about();
    if (reply.status == 0) {
        err << "velmora-admin: " << settings->endpoint << ": " << reply.error << "\n";
        return 1;
    }
    out << settings->endpoint << " answered HTTP " << reply.status;
    const QJsonArray versions =
        QJsonDocument::fromJson(reply.body).object().value(QStringLiteral("version")).toArray();
    if (!versions.isEmpty()) {
        QStringList texts;
        for (const QJsonValue version : versions) {
            texts << version.toString();
        }
        out << ", xAPI " << texts.join(QStringLiteral(", "));
    }
    out << "\n";
    if (reply.status != 200) {
        err << "velmora-admin: " << reply.message() << "\n";
        return 1;
    }
    return 0;
}

} // namespace

QList<AdminCommand> resultsCommands() {
    const QString words = QStringLiteral("results");
    return {
        {{words, QStringLiteral("set")},
         QStringLiteral("ENDPOINT KEY SECRET"),
         QStringLiteral("send the course's results to a Learning Record Store (xAPI)"),
         QStringLiteral(
             "Writes results.toml in the course folder: the LRS's xAPI endpoint\n"
             "(https://lrs.school.kz/xapi/), and the key and secret of an LRS client that may\n"
             "write statements. The file is readable by its owner only. From then on every\n"
             "finished test, every answer and every registration is also put in the outbox\n"
             "(results.outbox) and sent in the background."),
         3,
         set},
        {{words, QStringLiteral("show")},
         QString(),
         QStringLiteral("print where the results go (never the secret)"),
         QStringLiteral("Prints the endpoint, the key and the course IRI of results.toml; of\n"
                        "the secret only whether there is one."),
         0,
         show},
        {{words, QStringLiteral("status")},
         QString(),
         QStringLiteral("print how many statements were sent, wait and were refused"),
         QStringLiteral("Prints the statements sent, waiting in the outbox and refused by the\n"
                        "LRS (kept in results.refused with its message), and the last error.\n"
                        "Exit status 1 when sending stopped on a refused key and secret."),
         0,
         status},
        {{words, QStringLiteral("send")},
         QString(),
         QStringLiteral("send the outbox to the LRS now"),
         QStringLiteral("Sends every waiting statement now and prints what the LRS took.\n"
                        "Exit status 1 when the LRS could not be reached or stopped sending."),
         0,
         send},
        {{words, QStringLiteral("check")},
         QString(),
         QStringLiteral("reach the LRS and print what it answered"),
         QStringLiteral("Asks the LRS for its \"about\" resource with the key and secret and\n"
                        "prints its answer. Exit status 1 when it cannot be reached or refuses."),
         0,
         check},
    };
}

} // namespace velmora::admin
