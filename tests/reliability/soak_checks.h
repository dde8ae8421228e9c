// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace velmora::soak {

struct SharedFolderReport {
    long long students = 0; // register sections found as expected
    long long grades = 0;   // written grades found
    long long logLines = 0; // log lines found exactly once
    QStringList problems;   // every operation missing, doubled or garbled
};

// Checks the folder after `workers` workers each did `ops` operations: every student registered
// exactly once in the register (password and grades as written) and in the name list, every log
// line exactly once, and nothing else in any of them.
SharedFolderReport checkSharedFolder(const QString& folder, int workers, int ops);

} // namespace velmora::soak
