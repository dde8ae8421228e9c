// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace velmora {

// Asks the user where to save a file. Tests answer through a double of their own.
class SaveFileChooser {
public:
    virtual ~SaveFileChooser() = default;
    // The chosen full path, or nothing when the user cancels.
    virtual std::optional<QString> choose(QWidget* parent, const QString& suggestedName) = 0;
};

// The standard save-file dialog offering "CSV (*.csv)" and all files. It leaves the current
// directory as it was.
class FileDialogSaveChooser : public SaveFileChooser {
public:
    std::optional<QString> choose(QWidget* parent, const QString& suggestedName) override;
};

} // namespace velmora
