// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/course/main_menu.h"

namespace velmora {
namespace {

MenuEntry doc(QStringView item, QStringView caption, QStringView document, QStringView icon) {
    return {item.toString(),     caption.toString(), MenuEntryKind::Document,
            document.toString(), icon.toString(),    {}};
}

MenuEntry test(int number) {
    return {QStringLiteral("test%1").arg(number),
            QStringLiteral("Тестирование №%1").arg(number),
            MenuEntryKind::Test,
            {},
            QStringLiteral(":/icons/test.svg"),
            {}};
}

MenuEntry command(QStringView item, QStringView caption, QStringView icon = {}) {
    return {item.toString(), caption.toString(), MenuEntryKind::Command, {}, icon.toString(), {}};
}

MenuEntry menu(QStringView item, QStringView caption, std::vector<MenuEntry> entries) {
    return {item.toString(), caption.toString(), MenuEntryKind::Menu, {}, {}, std::move(entries)};
}

std::vector<MenuEntry> buildTable() {
    std::vector<MenuEntry> table;
    // Lectures alternate with their tests.
    table.push_back(menu(
        u"N0", u"Дәрістер және тестілеу",
        {
            doc(u"n1", u"1 Кіріспе. Ұйымның Velmora түсінігі.", u"\\data\\info\\lig-1.html",
                u":/icons/lecture.svg"),
            test(1),
            doc(u"N2", u"2.  Бизнес-процестердегі ұйымның Velmora  ", u"\\data\\info\\lig-2.html",
                u":/icons/lecture.svg"),
            test(2),
            doc(u"N3", u"3. Бизнес-бағытталған ақпараттык технологиялар",
                u"\\data\\info\\lig-3.html", u":/icons/lecture.svg"),
            test(3),
            doc(u"N33", u"4. Velmora бақылау стандарттары және әдістемелері",
                u"\\data\\info\\lig-4.html", u":/icons/lecture.svg"),
            test(4),
            doc(u"N34", u"5. Кәсіпкерлік Velmora баскару кұралдары мен жүйелері ",
                u"\\data\\info\\lig-5.html", u":/icons/lecture.svg"),
            test(5),
            doc(u"N6", u"Қорытынды бақылау", u"\\data\\info\\vopr.htm", u":/icons/control.svg"),
        }));
    table.push_back(
        menu(u"nlab", u"Зертханалық жұмыстар",
             {
                 doc(u"N111", u"1. Шағын кәсіпорын мысалында Velmora модельдеу",
                     u"\\data\\labs\\1.htm", u":/icons/lab.svg"),
                 doc(u"N112",
                     u"2. Ұлттық куәландырушы орталығы. egov.example электрондық үкімет порталымен "
                     u"жұмыс",
                     u"\\data\\labs\\2.htm", u":/icons/lab.svg"),
                 doc(u"N215", u"3. Шағын кәсіпорын мысалында бизнес-сәулетін модельдеу",
                     u"\\data\\labs\\3.htm", u":/icons/lab.svg"),
                 doc(u"N113",
                     u"4. Салық төлеушінің кеңсесі. Электрондық сауда алаңы www.auction.example",
                     u"\\data\\labs\\4.htm", u":/icons/lab.svg"),
                 doc(u"N216", u"5. Шағын кәсіпорын мысалында бизнес-процесстерді модельдеу",
                     u"\\data\\labs\\5.htm", u":/icons/lab.svg"),
                 doc(u"N315",
                     u"6. Бизнес-процестерді іске асыруда программалык кұрал-саймандарды таңдау "
                     u"және орнату",
                     u"\\data\\labs\\6.htm", u":/icons/lab.svg"),
                 doc(u"N417",
                     u"7. Мемлекеттік сатып алу веб-порталы procurement.example/. Бірыңғай "
                     u"электрондық құжат айналымы жүйесі",
                     u"\\data\\labs\\7.htm", u":/icons/lab.svg"),
                 doc(u"N58",
                     u"8. Шағын кәсіпорын қызметінде ІТ-технологияларды қолданудың ақпараттык "
                     u"камтамаларын өңдеу",
                     u"\\data\\labs\\8.htm", u":/icons/lab.svg"),
                 doc(u"N64",
                     u"9. Шағын кәсіпорын мысалында ІТ-технологияларды қолданудың "
                     u"бизнес-процестердің программалык іске асырылуы",
                     u"\\data\\labs\\9.htm", u":/icons/lab.svg"),
             }));
    table.push_back(menu(
        u"Nprak", u"Тәжірибелік сабақтар",
        {
            doc(u"N11", u"Тәжірибелік сабақ 1", u"\\data\\prak\\1.htm", u":/icons/practice.svg"),
            doc(u"N22", u"Тәжірибелік сабақ 2", u"\\data\\prak\\2.htm", u":/icons/practice.svg"),
            doc(u"N31", u"Тәжірибелік сабақ 3", u"\\data\\prak\\3.htm", u":/icons/practice.svg"),
            doc(u"N41", u"Тәжірибелік сабақ 4", u"\\data\\prak\\4.htm", u":/icons/practice.svg"),
            doc(u"N51", u"Тәжірибелік сабақ 5", u"\\data\\prak\\5.htm", u":/icons/practice.svg"),
            doc(u"N61", u"Тәжірибелік сабақ 6", u"\\data\\prak\\6.htm", u":/icons/practice.svg"),
            doc(u"N71", u"Тәжірибелік сабақ 7", u"\\data\\prak\\7.htm", u":/icons/practice.svg"),
            doc(u"N82", u"Тәжірибелік сабақ 8", u"\\data\\prak\\8.htm", u":/icons/practice.svg"),
            doc(u"N91", u"Тәжірибелік сабақ 9", u"\\data\\prak\\9.htm", u":/icons/practice.svg"),
            doc(u"N101", u"Практическое занятие 10", u"\\data\\prak\\10.htm",
                u":/icons/practice.svg"),
            doc(u"N115", u"Практическое занятие 11", u"\\data\\prak\\11.htm",
                u":/icons/practice.svg"),
            doc(u"N122", u"Практическое занятие 12", u"\\data\\prak\\12.htm",
                u":/icons/practice.svg"),
            doc(u"N132", u"Практическое занятие 13", u"\\data\\prak\\13.htm",
                u":/icons/practice.svg"),
            doc(u"N142", u"Практическое занятие 14", u"\\data\\prak\\14.htm",
                u":/icons/practice.svg"),
            doc(u"N152", u"Практическое занятие 15", u"\\data\\prak\\15.htm",
                u":/icons/practice.svg"),
            doc(u"N7", u"Әдебиет", u"\\data\\prak\\lit.htm", u":/icons/literature.svg"),
        }));
    table.push_back(
        menu(u"Nrk", u"Шеқара бақылау",
             {
                 doc(u"N12", u"Шеқара бақылау сұрақтары", u"\\data\\prak\\RK.htm",
                     u":/icons/control.svg"),
                 doc(u"N16", u"ШБ 1", u"\\data\\prak\\TestRK.htm", u":/icons/control.svg"),
                 doc(u"N23", u"ШБ 2", u"\\data\\prak\\PerRK.htm", u":/icons/control.svg"),
             }));
    table.push_back(menu(
        u"N8", u"Әдістемелік материалдар",
        {
            doc(u"N13", u"Силлабус", u"\\data\\prak\\sillabus.htm", u":/icons/book.svg"),
            doc(u"N14", u"Әдісьемелік ұсыныстар", u"\\data\\info\\MU.htm", u":/icons/book.svg"),
            doc(u"N9", u"СӨЖ тапсырмалар", u"\\data\\prak\\srm.htm", u":/icons/book.svg"),
            doc(u"N10", u"Емтихан сұрақтар", u"\\data\\prak\\VoprExam.htm", u":/icons/book.svg"),
            command(u"N17", u"Назад", u":/icons/back.svg"),
        }));
    table.push_back(
        menu(u"Nadm", u"Басқару",
             {
                 command(u"Ni", u"Информация об успеваемости", u":/icons/progress.svg"),
                 menu(u"notch", u"Есеп",
                      {
                          command(u"N30", u"Отчет по проведению тестов", u":/icons/report.svg"),
                      }),
                 command(u"Ntun", u"Настройки администратора", u":/icons/settings.svg"),
                 command(u"nred", u"Тестті өзгерту", u":/icons/scramble.svg"),
                 command(u"njournal", u"Топ журналы", u":/icons/report.svg"),
             }));
    table.push_back(command(u"NaFormuAvtorizazii", u"Авторизация формаға"));
    table.push_back(menu(u"N21", u"Көмек",
                         {
                             command(u"N26", u"Бағдарлама туралы", u":/icons/about.svg"),
                             doc(u"N27", u"Көмек", helpContentsPage(), u":/icons/help.svg"),
                             command(u"N15", u"Автор туралы", u":/icons/author.svg"),
                             command(u"NSearch", u"Курс бойынша іздеу", u":/icons/search.svg"),
                         }));
    table.push_back(command(u"Ne", u"Шығу"));
    return table;
}

void collect(const std::vector<MenuEntry>& entries, std::vector<const MenuEntry*>& into) {
    for (const MenuEntry& entry : entries) {
        into.push_back(&entry);
        collect(entry.entries, into);
    }
}

} // namespace

const std::vector<MenuEntry>& mainMenuTable() {
    static const std::vector<MenuEntry> table = buildTable();
    return table;
}

QString helpContentsPage() {
    return QStringLiteral("\\data\\help\\sod.htm");
}

std::vector<const MenuEntry*> allMenuEntries() {
    std::vector<const MenuEntry*> entries;
    collect(mainMenuTable(), entries);
    return entries;
}

} // namespace velmora
