// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The course's own texts on the title page and in the about windows: a fictitious institution and
// author.
namespace velmora::courseTexts {

QString institution();
QString department();
QString author();
QString authorPost();
QString programmeCode();
QString placeAndYear();

} // namespace velmora::courseTexts
