// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

// The course's own texts on the title page and in the about windows: a fictitious institution and
// author.
namespace courseTexts {

QString institution();
QString department();
QString author();
QString authorPost();
QString programmeCode();
QString placeAndYear();

} // namespace courseTexts
} // namespace velmora
