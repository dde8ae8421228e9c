// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/windows/source_file_chooser.h"

#include <QFileDialog>

namespace velmora {

std::optional<QString> FileDialogSourceChooser::choose(QWidget* parent) {
    const QString path = QFileDialog::getOpenFileName(parent);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path;
}

} // namespace velmora
