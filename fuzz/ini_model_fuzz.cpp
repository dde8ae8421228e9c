// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the INI writer against an in-memory model: a sequence of writes and erases on one text,
// after which every value the model holds reads back, every value it lacks reads as missing, and
// the sections and keys stand in the model's order. Names come from a small set with letter-case
// variants, so that writes meet each other's sections and keys. The writes since the last erase,
// gathered in one batch and applied to the text as it stood then, must give the same bytes.

#include "core/storage/code_page.h"
#include "core/storage/ini_batch.h"
#include "core/storage/ini_text.h"
#include "fuzz_input.h"

#include <QList>
#include <QString>

using velmora::CodePage;
using velmora::IniBatch;
using velmora::IniText;
using velmora::fuzz::check;
using velmora::fuzz::FuzzInput;

namespace {

// Each list holds names that match each other (letter case ignored) in groups of two.
const QList<QByteArray>& sectionNames() {
    static const QList<QByteArray> names = {
        "1",   "1",   "inf",   "INF",   CodePage::encode(u"Әлия"), CodePage::encode(u"әЛИЯ"),
        "a b", "A B", "users", "Users", CodePage::encode(u"Ёж"),   CodePage::encode(u"ёЖ")};
    return names;
}

const QList<QByteArray>& keyNames() {
    static const QList<QByteArray> names = {"q",        "Q",      "a1",     "A1",    "password",
                                            "PassWord", "test12", "TEST12", "vsego", "Vsego"};
    return names;
}

struct ModelKey {
    QByteArray name; // as first written
    QByteArray value;
};

struct ModelSection {
    QByteArray name;
    QList<ModelKey> keys;
};

qsizetype find(const auto& list, QByteArrayView name) {
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (IniText::namesMatch(list[i].name, name)) {
            return i;
        }
    }
    return -1;
}

// A value one INI line holds and gives back whole.
QByteArray storable(QByteArray value) {
    value.replace('\r', 'r').replace('\n', 'n');
    const auto edge = [](char c) { return c == ' ' || c == '\t' || c == '"' || c == '\''; };
    while (!value.isEmpty() && (edge(value.front()) || edge(value.back()))) {
        value = edge(value.front()) ? value.sliced(1) : value.chopped(1);
    }
    return value;
}

void setInModel(QList<ModelSection>& model, const QByteArray& section, const QByteArray& key,
                const QByteArray& value) {
    qsizetype s = find(model, section);
    if (s < 0) {
        model.append({section, {}});
        s = model.size() - 1;
    }
    const qsizetype k = find(model[s].keys, key);
    if (k < 0) {
        model[s].keys.append({key, value});
    } else {
        model[s].keys[k].value = value;
    }
}

void checkAgainstModel(const QByteArray& text, const QList<ModelSection>& model) {
    QList<QByteArray> sections;
    for (const ModelSection& s : model) {
        sections.append(s.name);
    }
    check(IniText::sectionNames(text) == sections);
    for (const QByteArray& section : sectionNames()) {
        const qsizetype s = find(model, section);
        check(IniText::hasSection(text, section) == (s >= 0));
        for (const QByteArray& key : keyNames()) {
            const qsizetype k = s < 0 ? -1 : find(model[s].keys, key);
            const auto read = IniText::value(text, section, key);
            check(k < 0 ? !read.has_value() : read == model[s].keys[k].value);
        }
        if (s >= 0) {
            QList<QByteArray> keys;
            for (const ModelKey& k : model[s].keys) {
                keys.append(k.name);
            }
            check(IniText::keyNames(text, section) == keys);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    QByteArray text;
    QList<ModelSection> model;
    QByteArray sinceErase = text; // the text after the last erase
    IniBatch batch;
    for (int op = 0; op < 64 && !input.empty(); ++op) {
        const unsigned char code = input.byte();
        const QByteArray& section = sectionNames()[code % sectionNames().size()];
        if (code >= 0xE0) {
            const bool had = find(model, section) >= 0;
            check(IniText::eraseSection(text, section) == had);
            if (had) {
                model.removeAt(find(model, section));
            }
            sinceErase = text;
            batch = IniBatch();
        } else {
            const QByteArray& key = keyNames()[input.byte() % keyNames().size()];
            const QByteArray value = storable(input.bytes(IniText::kMaxValueBytes));
            IniText::setValue(text, section, key, value);
            setInModel(model, section, key, value);
            batch.setValue(section, key, value);
        }
    }
    checkAgainstModel(text, model);
    batch.applyTo(sinceErase);
    check(sinceErase == text);
    return 0;
}
