// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the reading of a question bank in Aiken format; see question_bank_checks.h for what
// must hold.

#include "question_bank_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velmora::fuzz::checkBank(data, size, velmora::BankFormat::Aiken);
    return 0;
}
