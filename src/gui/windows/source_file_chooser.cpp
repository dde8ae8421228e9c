// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/windows/source_file_chooser.h"

#include <QFileDialog>

namespace velmora {

std::optional<QString> FileDialogSourceChooser::choose(QWidget* parent) {
    // Sources of ours and banks of other systems share ".txt"; the content tells them apart.
    static const QString filters = QStringLiteral(
        "Question sources (*.txt);;Question banks (*.txt *.gift *.xml);;All files (*)");
    const QString path = QFileDialog::getOpenFileName(parent, QString(), QString(), filters);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path;
}

} // namespace velmora
