// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/windows/save_file_chooser.h"

#include <QDir>
#include <QFileDialog>

namespace velmora {

std::optional<QString> FileDialogSaveChooser::choose(QWidget* parent,
                                                     const QString& suggestedName) {
    const QString path =
        QFileDialog::getSaveFileName(parent, QString(), QDir::current().filePath(suggestedName),
                                     QStringLiteral("CSV (*.csv);;All files (*)"));
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path;
}

} // namespace velmora
