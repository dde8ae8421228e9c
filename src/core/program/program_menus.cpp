// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/program/program_menus.h"

namespace velmora {
namespace {

constexpr std::array<bool, 4> kAlways{true, true, true, true};
constexpr std::array<bool, 4> kSignedIn{false, false, true, true};
constexpr std::array<bool, 4> kAdministrator{false, false, false, true};
constexpr std::array<bool, 4> kSignedOut{true, true, false, false};

ProgramEntry command(QStringView name, QStringView caption, QStringView icon = {},
                     std::array<bool, 4> shownIn = kAlways) {
    ProgramEntry entry;
    entry.name = name.toString();
    entry.caption = caption.toString();
    entry.icon = icon.toString();
    entry.shownIn = shownIn;
    return entry;
}

ProgramEntry menu(QStringView name, QStringView caption, std::array<bool, 4> shownIn,
                  std::vector<ProgramEntry> entries) {
    ProgramEntry entry = command(name, caption, {}, shownIn);
    entry.entries = std::move(entries);
    return entry;
}

std::vector<ProgramEntry> buildMenus() {
    ProgramEntry progress = command(u"Ni", u"Информация об успеваемости", u":/icons/progress.svg");
    progress.hiddenDuringTest = true;
    ProgramEntry help = command(u"N27", u"Көмек", u":/icons/help.svg");
    help.opensHelp = true;
    ProgramEntry contrast = command(u"NContrast", u"Жоғары контраст");
    contrast.checkable = true;
    return {
        menu(u"Nadm", u"Басқару", kSignedIn,
             {
                 progress,
                 menu(u"notch", u"Есеп", kAdministrator,
                      {command(u"N30", u"Отчет по проведению тестов", u":/icons/report.svg")}),
                 command(u"Ntun", u"Настройки администратора", u":/icons/settings.svg",
                         kAdministrator),
                 command(u"nred", u"Тестті өзгерту", u":/icons/scramble.svg", kAdministrator),
                 command(u"njournal", u"Топ журналы", u":/icons/report.svg", kAdministrator),
             }),
        command(u"NaFormuAvtorizazii", u"Авторизация формаға", {}, kSignedOut),
        menu(u"N21", u"Көмек", kAlways,
             {
                 command(u"N26", u"Бағдарлама туралы", u":/icons/about.svg"),
                 help,
                 command(u"N15", u"Автор туралы", u":/icons/author.svg"),
                 command(u"NSearch", u"Курс бойынша іздеу", u":/icons/search.svg"),
                 contrast,
             }),
        command(u"Ne", u"Шығу"),
    };
}

} // namespace

const std::vector<ProgramEntry>& programMenus() {
    static const std::vector<ProgramEntry> menus = buildMenus();
    return menus;
}

} // namespace velmora
