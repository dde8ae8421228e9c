// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/rename_probe.h"

#include <utility>

namespace velmora {
namespace {

RenameProbe::Hook& hook() {
    static RenameProbe::Hook h;
    return h;
}

} // namespace

RenameProbe::Hook RenameProbe::set(Hook h) {
    return std::exchange(hook(), std::move(h));
}

void RenameProbe::beforeRename(const QString& path, int dataSyncs) {
    if (hook()) {
        hook()(path, dataSyncs);
    }
}

} // namespace velmora
