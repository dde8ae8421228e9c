// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace velmora {

// Asks the user for a question source or a question bank. Tests answer through a double of their
// own.
class SourceFileChooser {
public:
    virtual ~SourceFileChooser() = default;
    // The chosen file's full path, or nothing when the user cancels.
    virtual std::optional<QString> choose(QWidget* parent) = 0;
};

// The standard open-file dialog, no title of its own, offering "Question sources (*.txt)",
// "Question banks (*.txt *.gift *.xml)" and all files. It leaves the current directory as it was.
class FileDialogSourceChooser : public SourceFileChooser {
public:
    std::optional<QString> choose(QWidget* parent) override;
};

} // namespace velmora
