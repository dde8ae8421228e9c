// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace velmora::admin {

// A command's arguments: one file and its options.
struct FileAndOptions {
    QString file;
    QMap<QString, QString> options; // "--name" → VALUE
    QStringList flags;              // "--name" given alone
};

// "FILE", options "--name VALUE" of `allowed` and flags "--name" of `flags`, each at most once;
// nothing for anything else.
std::optional<FileAndOptions> fileAndOptions(const QStringList& a, const QStringList& allowed,
                                             const QStringList& flags = {});

} // namespace velmora::admin
