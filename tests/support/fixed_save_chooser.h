// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/windows/save_file_chooser.h"

#include <optional>
#include <utility>

namespace velmora::test {

// Answers the save dialog with a fixed path.
class FixedSaveChooser : public SaveFileChooser {
public:
    explicit FixedSaveChooser(QString path) : path_(std::move(path)) {}
    std::optional<QString> choose(QWidget* /*parent*/, const QString& /*name*/) override {
        return path_;
    }

private:
    QString path_;
};

} // namespace velmora::test
