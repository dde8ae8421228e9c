// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/documents/document_view.h"

// The interface of the QtWebEngine module (libvelmora_webengine.so), which the program loads at
// run time. Only this header is shared: the program does not link QtWebEngine itself.

// Creates the browser as a child of `parent`. Its navigate() takes a valid local path and never
// throws.
using CreateEngineView = velmora::DocumentView* (*)(QWidget* parent);
inline constexpr char createEngineViewSymbol[] = "velmora_create_engine_view";
