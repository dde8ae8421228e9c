// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/windows/main_window.h"

#include "core/storage/data_path.h"
#include "gui/documents/course_search.h"
#include "gui/documents/document_screen.h"
#include "gui/kit/first_show.h"
#include "gui/kit/handler_guard.h"
#include "gui/kit/message_boxes.h"
#include "gui/kit/screen_panel.h"
#include "gui/kit/svg_icon.h"
#include "gui/kit/ui_font.h"
#include "gui/screens/sign_in_screen.h"
#include "gui/windows/about_author_window.h"
#include "gui/windows/about_program_dialog.h"
#include "gui/windows/course_search_window.h"

#include <QCloseEvent>
#include <QCryptographicHash>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QIcon>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <functional>

// Start-up milestones for checks of an installed program; silent unless enabled with
// QT_LOGGING_RULES="velmora.startup.info=true".
Q_LOGGING_CATEGORY(velmoraStartup, "velmora.startup", QtWarningMsg)

namespace velmora {
namespace {

// Client area below the menu bar: the outer 950 × 804 of a desktop window with 8-pixel borders
// and a 22-pixel caption, less the menu bar.
constexpr QSize clientSize(934, 746);

constexpr QColor teal(0x00, 0x80, 0x80);
constexpr QColor skyBlue(0xA6, 0xCA, 0xF0);

QColor windowFace() {
    return QPalette().color(QPalette::Button);
}
// The system's scroll-bar grey: a shade between the face and the shadow colour.
QColor scrollBarGrey() {
    return QPalette().color(QPalette::Midlight).darker(108);
}

} // namespace

MainWindow::MainWindow(const DocumentViewFactory& makeView, QWidget* parent, ControlsBuilt built)
    : DeferredControls(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("ЭУИ Velmora"));
    setWindowIcon(svgIcon(QStringLiteral(":/icons/app.svg")));
    setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));
    buildScreens(makeView);
    startBuilding(built);
    buildMenu();
    // Sized and centred when first shown: the menu bar's height needs its font measured.
    onFirstShow(this, [this] { placeOnScreen(); });
    openHelpContents();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildDeferredControls() {
    buildTestLogScreen();
    buildTestingScreens();
    buildAccessScreens();
}

void MainWindow::placeOnScreen() {
    resize(clientSize.width(), clientSize.height() + menuBar()->sizeHint().height());
    if (const QScreen* screen = this->screen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void MainWindow::buildScreens(const DocumentViewFactory& makeView) {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(client);
    client->resize(clientSize);

    // Created back to front, so each panel lies in front of the ones before it.
    panels_[2] = new ScreenPanel(QStringLiteral("Panel2"), teal, false, client);
    panels_[2]->setGeometry(0, -8, 921, 745);
    panels_[3] = new ScreenPanel(QStringLiteral("Panel3"), skyBlue, true, client);
    panels_[1] = new ScreenPanel(QStringLiteral("Panel1"), windowFace(), true, client);
    panels_[6] = new ScreenPanel(QStringLiteral("Panel6"), windowFace(), true, client);
    panels_[7] = new ScreenPanel(QStringLiteral("Panel7"), skyBlue, true, client);
    panels_[4] = new ScreenPanel(QStringLiteral("Panel4"), scrollBarGrey(), true, client);
    const std::array<std::pair<int, QString>, 6> names{{
        {1, QStringLiteral("Экран документа")},
        {2, QStringLiteral("Информация об успеваемости")},
        {3, QStringLiteral("Тестирование")},
        {4, QStringLiteral("Авторизация")},
        {6, QStringLiteral("Отчет по проведению тестов")},
        {7, QStringLiteral("Настройки администратора")},
    }};
    for (const auto& [number, name] : names) {
        panels_[number]->setAccessibleName(name);
    }

    documentView_ = makeView(panels_[1]);
    documentView_->widget()->setObjectName(QStringLiteral("WebBrowser1"));
    documentView_->widget()->setAccessibleName(QStringLiteral("Құжат"));
    documentContent_ = new DocumentScreen(documentView_, panels_[1]);
    documentContent_->setNavigationGuard([this](const QUrl& url) { return mayOpenDocument(url); });
    panels_[1]->setContent(documentContent_);

    // In the window's design the memo and administrator screens are hidden.
    panels_[6]->hide();
    panels_[7]->hide();

    button2_ = new QPushButton(QStringLiteral("Button2"), client);
    button2_->setObjectName(QStringLiteral("Button2"));
    button2_->setAccessibleName(QStringLiteral("Button2"));
    button2_->hide();
}

void MainWindow::buildTestLogScreen() {
    testLogView_ = new QPlainTextEdit(QStringLiteral("Memo2"), panels_[6]);
    testLogView_->setObjectName(QStringLiteral("Memo2"));
    testLogView_->setAccessibleName(QStringLiteral("Отчет по проведению тестов"));
    testLogView_->setGeometry(4, 2, 920, 730);
    testLogView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    testLogView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    testLogBack_ = new QToolButton(panels_[6]);
    testLogBack_->setObjectName(QStringLiteral("SpeedButton5"));
    testLogBack_->setText(QStringLiteral("<<Назад"));
    testLogBack_->setAccessibleName(QStringLiteral("<<Назад"));
    testLogBack_->setIcon(svgIcon(QStringLiteral(":/icons/back.svg")));
    testLogBack_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    testLogBack_->setAutoRaise(true);
    testLogBack_->setGeometry(302, 404, 161, 22);
    connect(testLogBack_, &QToolButton::clicked, this, &MainWindow::leaveTestLog);
}

void MainWindow::buildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    bar->setAccessibleName(QStringLiteral("MainMenu1"));
    addMenuEntries(bar, mainMenuTable());
    menuItem(QStringLiteral("NSearch"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    applyMenuVisibility();
    // The button that opens the entries a narrow window cannot show.
    if (auto* more = bar->findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button"))) {
        more->setAccessibleName(QStringLiteral("Мәзірдің жалғасы"));
    }
}

void MainWindow::addMenuEntries(QWidget* menu, const std::vector<MenuEntry>& entries) {
    for (const MenuEntry& entry : entries) {
        addMenuEntry(menu, entry);
    }
}

QAction* MainWindow::addMenuEntry(QWidget* menu, const MenuEntry& entry) {
    QAction* action = nullptr;
    if (entry.kind == MenuEntryKind::Menu) {
        auto* sub = new QMenu(entry.caption, menu);
        sub->setObjectName(entry.item);
        sub->setAccessibleName(entry.caption);
        addMenuEntries(sub, entry.entries);
        action = sub->menuAction();
    } else {
        action = new QAction(entry.caption, menu);
        connectEntry(action, entry);
    }
    action->setObjectName(entry.item);
    if (!entry.icon.isEmpty()) {
        // One icon object per picture: items of a kind share it, and the menu builds faster.
        static QHash<QString, QIcon> icons;
        auto icon = icons.find(entry.icon);
        if (icon == icons.end()) {
            icon = icons.insert(entry.icon, svgIcon(entry.icon));
        }
        action->setIcon(*icon);
    }
    menu->addAction(action);
    return action;
}

void MainWindow::connectEntry(QAction* action, const MenuEntry& entry) {
    switch (entry.kind) {
    case MenuEntryKind::Document:
        connect(action, &QAction::triggered, this,
                [this, path = entry.document] { guarded(this, [&] { showdoc(path); }); });
        return;
    case MenuEntryKind::Test:
        connect(action, &QAction::triggered, this, [this, item = entry.item] { chooseTest(item); });
        return;
    case MenuEntryKind::Command:
    case MenuEntryKind::Menu:
        break;
    }
    const std::array<std::pair<const char16_t*, void (MainWindow::*)()>, 11> handlers{{
        {u"N17", &MainWindow::leaveAdminScreen},
        {u"Ni", &MainWindow::showProgress},
        {u"N30", &MainWindow::showTestLog},
        {u"Ntun", &MainWindow::showAdminSettings},
        {u"nred", &MainWindow::openScramblingTool},
        {u"njournal", &MainWindow::openGroupJournal},
        {u"NaFormuAvtorizazii", &MainWindow::showSignInScreen},
        {u"N26", &MainWindow::showAboutProgram},
        {u"N15", &MainWindow::showAboutAuthor},
        {u"Ne", &MainWindow::exitProgram},
        {u"NSearch", &MainWindow::openCourseSearch},
    }};
    for (const auto& [item, handler] : handlers) {
        if (entry.item == QStringView(item)) {
            connect(action, &QAction::triggered, this, handler);
            return;
        }
    }
    qFatal("Menu command without a handler");
}

QFrame* MainWindow::panel(int number) const {
    if (number < 0 || number >= static_cast<int>(panels_.size())) {
        return nullptr;
    }
    return panels_[static_cast<size_t>(number)];
}

void MainWindow::setScreenContent(int number, QWidget* content) {
    panels_.at(static_cast<size_t>(number))->setContent(content);
}

void MainWindow::showScreen(QFrame* screen) {
    for (ScreenPanel* p : panels_) {
        if (p != nullptr) {
            p->setVisible(p == screen);
        }
    }
}

void MainWindow::showdoc(const QString& path) {
    showScreen(documentScreen());
    documentView_->navigate(programFolderPath(path));
}

QAction* MainWindow::menuItem(const QString& name) const {
    for (QAction* action : menuBar()->findChildren<QAction*>(name)) {
        return action;
    }
    return nullptr;
}

void MainWindow::setMenuState(MenuState state) {
    menuState_ = state;
    applyMenuVisibility();
}

void MainWindow::setTestMenusHidden(bool hidden) {
    testMenusHidden_ = hidden;
    applyMenuVisibility();
}

void MainWindow::applyMenuVisibility() {
    for (const MenuVisibility& row : menuVisibility(menuState_, testMenusHidden_)) {
        if (QAction* action = menuItem(row.item)) {
            action->setVisible(row.visible);
        }
    }
    Q_EMIT accessChanged();
}

void MainWindow::setCompanionWindows(QDialog* scramblingTool, AboutProgramDialog* aboutProgram,
                                     AboutAuthorWindow* aboutAuthor) {
    scramblingTool_ = scramblingTool;
    aboutProgram_ = aboutProgram;
    aboutAuthor_ = aboutAuthor;
}

// ---- documents the page itself leads to ----

bool MainWindow::mayOpenDocument(const QUrl& url) {
    if (!url.isLocalFile()) {
        return true;
    }
    const QString target = QFileInfo(url.toLocalFile()).canonicalFilePath();
    if (target.isEmpty() || documentOffered(target)) {
        return true;
    }
    // Shown once the browser has its answer: a box must not wait inside the browser's question.
    QTimer::singleShot(0, this, [this] {
        MessageBoxes::information(
            this, QStringLiteral("Этот материал пока закрыт: сначала сдайте предыдущий тест."));
    });
    return false;
}

QList<MainWindow::CourseDocument> MainWindow::courseDocuments() const {
    QList<CourseDocument> documents;
    const std::function<void(const std::vector<MenuEntry>&, bool)> walk =
        [&](const std::vector<MenuEntry>& entries, bool menusOffered) {
            for (const MenuEntry& entry : entries) {
                const QAction* action = menuItem(entry.item);
                const bool offered =
                    menusOffered && action != nullptr && action->isVisible() && action->isEnabled();
                if (entry.kind == MenuEntryKind::Menu) {
                    walk(entry.entries, offered);
                } else if (entry.kind == MenuEntryKind::Document) {
                    documents.append({&entry, programFolderPath(entry.document), offered});
                }
            }
        };
    walk(mainMenuTable(), true);
    return documents;
}

// Whether `canonicalPath` is a document no menu command opens, or one that an item offered now
// opens.
bool MainWindow::documentOffered(const QString& canonicalPath) const {
    bool opened = false;
    for (const CourseDocument& document : courseDocuments()) {
        if (QFileInfo(document.file).canonicalFilePath() == canonicalPath) {
            if (document.offered) {
                return true;
            }
            opened = true;
        }
    }
    return !opened;
}

// ---- searching the course ----

void MainWindow::indexCourse() {
    if (courseSearch_ == nullptr) {
        // One index per course folder, in the user's cache.
        const QByteArray folder = QDir(programFolder()).absolutePath().toUtf8();
        const QString name =
            QStringLiteral("search-%1.sqlite")
                .arg(QString::fromLatin1(
                    QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(16)));
        const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
        QDir().mkpath(cache);
        courseSearch_ = new CourseSearch(QDir(cache).filePath(name), this);
    }
    QList<IndexedDocument> documents;
    for (const CourseDocument& document : courseDocuments()) {
        documents.append({document.file, document.entry->caption.trimmed()});
    }
    courseSearch_->index(documents);
}

void MainWindow::openCourseSearch() {
    guarded(this, [&] {
        if (courseSearch_ == nullptr) {
            indexCourse();
        }
        if (searchWindow_ == nullptr) {
            searchWindow_ = new CourseSearchWindow(
                courseSearch_,
                [this] {
                    QSet<QString> openable;
                    for (const CourseDocument& document : courseDocuments()) {
                        if (document.offered) {
                            openable << document.file;
                        }
                    }
                    return openable;
                },
                this);
            connect(this, &MainWindow::accessChanged, searchWindow_, &CourseSearchWindow::refresh);
            connect(searchWindow_, &CourseSearchWindow::openWanted, this,
                    &MainWindow::openSearchResult);
        }
        searchWindow_->showInFront();
    });
}

// A result opens through its menu command's way, showdoc, with the find bar on its word.
void MainWindow::openSearchResult(const QString& path, const QString& word) {
    guarded(this, [&] {
        for (const CourseDocument& document : courseDocuments()) {
            if (document.file == path && document.offered) {
                showdoc(document.entry->document);
                documentContent_->openFindBar(word);
                activateWindow();
                return;
            }
        }
    });
}

// ---- start-up and exit ----

void MainWindow::openHelpContents() {
    guarded(this, [&] { documentView_->navigate(programFolderPath(helpContentsPage())); });
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!formShown_ && !event->spontaneous()) {
        formShown_ = true;
        startAtSignIn();
    }
}

void MainWindow::startAtSignIn() {
    // A failing file read is shown and the rest still runs, so the window never opens with the
    // course menus offered before anyone has signed in.
    guarded(this, [&] { loadUserList(); });
    session_.signedIn = false;
    showScreen(signInScreen());
    signInContent_->nameBox()->setFocus();
    setMenuState(MenuState::BeforeSignIn);
    guarded(this, [&] { readAdminSettings(); });
    // Printed last, so a start-up error box (which waits for its OK) holds it back.
    qCInfo(velmoraStartup, "sign-in screen shown");
}

void MainWindow::exitProgram() {
    guarded(this, [&] { close(); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!confirmExit()) {
        event->ignore();
        return;
    }
    guarded(this, [&] { writeBackGrades(); });
    event->accept();
    Q_EMIT closed();
}

bool MainWindow::confirmExit() {
    return MessageBoxes::warningOkCancel(
               this, QStringLiteral("Вы действительно хотите выйти из программы?")) ==
           MessageBoxes::Answer::Ok;
}

// ---- screens and commands ----

void MainWindow::leaveAdminScreen() {
    guarded(this, [&] {
        adminScreen()->hide();
        documentScreen()->show();
    });
}

void MainWindow::leaveTestLog() {
    guarded(this, [&] { showScreen(documentScreen()); });
}

void MainWindow::showSignInScreen() {
    // The sign-in screen is front-most: making it visible covers the others.
    guarded(this, [&] {
        documentContent_->closeFindBar();
        signInScreen()->show();
    });
}

void MainWindow::showAboutProgram() {
    guarded(this, [&] {
        if (aboutProgram_ != nullptr) {
            aboutProgram_->showAboutProgram();
        }
    });
}

void MainWindow::showAboutAuthor() {
    guarded(this, [&] {
        if (aboutAuthor_ != nullptr) {
            aboutAuthor_->showInFront();
        }
    });
}

void MainWindow::chooseTest(const QString& testKey) {
    guarded(this, [&] {
        session_.testName = testKey;
        startTest();
    });
}

void MainWindow::showAdminSettings() {
    guarded(this, [&] { showScreen(adminScreen()); });
}

void MainWindow::openScramblingTool() {
    guarded(this, [&] {
        if (scramblingTool_ != nullptr) {
            scramblingTool_->setWindowTitle(session_.userName);
            scramblingTool_->exec();
        }
    });
}

} // namespace velmora
