// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/windows/main_window.h"

#include "core/access/user_register.h"
#include "core/course/course_book.h"
#include "core/program/course_state.h"
#include "core/storage/data_path.h"
#include "gui/documents/course_search.h"
#include "gui/documents/document_screen.h"
#include "gui/kit/first_show.h"
#include "gui/kit/handler_guard.h"
#include "gui/kit/high_contrast.h"
#include "gui/kit/message_boxes.h"
#include "gui/kit/screen_panel.h"
#include "gui/kit/svg_icon.h"
#include "gui/kit/ui_font.h"
#include "gui/screens/sign_in_screen.h"
#include "gui/windows/about_author_window.h"
#include "gui/windows/about_program_dialog.h"
#include "gui/windows/course_search_window.h"

#include <QApplication>
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
    : DeferredControls(parent), state_(new CourseState(CourseBook::current(), this)) {
    state_->setObjectName(QStringLiteral("courseState"));
    // The look the program started in (the desktop's high contrast) until a user chooses.
    state_->setHighContrast(HighContrast::instance().isOn());
    connect(state_, &CourseState::changed, this, &MainWindow::applyState);
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(state_->course().caption);
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
    setScreenContent(Screen::Document, documentContent_);

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
    for (const CourseMenu& courseMenu : state_->course().menus) {
        addCourseMenu(courseMenu);
    }
    for (const ProgramEntry& entry : programMenus()) {
        addProgramEntry(bar, entry);
    }
    for (QAction* action : std::as_const(actions_)) {
        if (action->objectName() == QStringLiteral("NSearch")) {
            action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
        }
    }
    applyState();
    // The button that opens the entries a narrow window cannot show.
    if (auto* more = bar->findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button"))) {
        more->setAccessibleName(QStringLiteral("Мәзірдің жалғасы"));
    }
}

QAction* MainWindow::addMenuAction(QWidget* menu, const QString& name, const QString& caption,
                                   const QString& icon) {
    auto* action = new QAction(caption, menu);
    action->setObjectName(name);
    setMenuIcon(action, icon);
    menu->addAction(action);
    actions_.append(action);
    return action;
}

QMenu* MainWindow::addSubMenu(QWidget* menu, const QString& name, const QString& caption) {
    auto* sub = new QMenu(caption, menu);
    sub->setObjectName(name);
    sub->setAccessibleName(caption);
    sub->menuAction()->setObjectName(name);
    return sub;
}

void MainWindow::setMenuIcon(QAction* action, const QString& icon) {
    if (icon.isEmpty()) {
        return;
    }
    // One icon object per picture: items of a kind share it, and the menu builds faster. A
    // picture of the course folder is known by its file, as the folder may change.
    static QHash<QString, QIcon> icons;
    const bool programIcon = icon.startsWith(QStringLiteral(":/"));
    const QString file = programIcon ? icon : CourseState::filePath(icon);
    auto found = icons.find(file);
    if (found == icons.end()) {
        const bool svg = file.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
        found = icons.insert(file, programIcon || svg ? svgIcon(file) : QIcon(file));
    }
    action->setIcon(*found);
}

void MainWindow::addCourseMenu(const CourseMenu& courseMenu) {
    QMenu* sub = addSubMenu(menuBar(), courseMenu.name, courseMenu.caption);
    for (const CourseItem& item : courseMenu.items) {
        connectCourseItem(addMenuAction(sub, item.name, item.caption, item.icon), item);
    }
    finishSubMenu(menuBar(), sub);
}

void MainWindow::finishSubMenu(QWidget* menu, QMenu* sub) {
    menu->addAction(sub->menuAction());
    actions_.append(sub->menuAction());
}

void MainWindow::addProgramEntry(QWidget* menu, const ProgramEntry& entry) {
    if (entry.isMenu()) {
        QMenu* sub = addSubMenu(menu, entry.name, entry.caption);
        for (const ProgramEntry& inner : entry.entries) {
            addProgramEntry(sub, inner);
        }
        setMenuIcon(sub->menuAction(), entry.icon);
        finishSubMenu(menu, sub);
        return;
    }
    QAction* action = addMenuAction(menu, entry.name, entry.caption, entry.icon);
    if (entry.checkable) {
        action->setCheckable(true);
        connect(action, &QAction::triggered, this,
                [this](bool on) { guarded(this, [&] { state_->setHighContrast(on); }); });
        return;
    }
    if (entry.opensHelp) {
        connect(action, &QAction::triggered, this,
                [this] { guarded(this, [&] { showdoc(state_->course().help); }); });
        return;
    }
    connectCommand(action, entry.name);
}

void MainWindow::connectCourseItem(QAction* action, const CourseItem& item) {
    switch (item.kind) {
    case CourseItemKind::Document:
        connect(action, &QAction::triggered, this,
                [this, path = item.document] { guarded(this, [&] { showdoc(path); }); });
        return;
    case CourseItemKind::Test:
        connect(action, &QAction::triggered, this,
                [this, key = UserRegister::testKey(item.test)] { chooseTest(key); });
        return;
    case CourseItemKind::Command:
        switch (item.command) {
        case CourseCommand::Back:
            connect(action, &QAction::triggered, this, &MainWindow::leaveAdminScreen);
            return;
        }
        break;
    }
    qFatal("Course item without a handler");
}

void MainWindow::connectCommand(QAction* action, const QString& name) {
    const std::array<std::pair<const char16_t*, void (MainWindow::*)()>, 10> handlers{{
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
        if (name == QStringView(item)) {
            connect(action, &QAction::triggered, this, handler);
            return;
        }
    }
    qFatal("Menu command without a handler");
}

void MainWindow::applyState() {
    for (QAction* action : std::as_const(actions_)) {
        action->setVisible(state_->isVisible(action->objectName()));
        action->setEnabled(state_->isEnabled(action->objectName()));
        if (action->isCheckable()) {
            action->setChecked(state_->highContrast());
        }
    }
    HighContrast::instance().setOn(state_->highContrast());
    if (documentView_ != nullptr) {
        documentView_->setHighContrast(state_->highContrast());
    }
}

QFrame* MainWindow::panel(Screen screen) const {
    return panels_.at(static_cast<size_t>(screen));
}

void MainWindow::setScreenContent(Screen screen, QWidget* content) {
    panels_.at(static_cast<size_t>(screen))->setContent(content);
}

void MainWindow::showScreen(Screen screen) {
    const QFrame* shown = panel(screen);
    for (ScreenPanel* p : panels_) {
        if (p != nullptr) {
            p->setVisible(p == shown);
        }
    }
    focusFrontScreen();
    state_->frontScreenChanged(screenInFront());
}

void MainWindow::setScreenVisible(Screen screen, bool visible) {
    panel(screen)->setVisible(visible);
    focusFrontScreen();
    state_->frontScreenChanged(screenInFront());
}

// Hiding a screen moves the focus on only when another control is already shown; otherwise keys
// would go on to a control nobody sees. The first control of the front screen that Tab reaches
// gets it, or the screen itself.
void MainWindow::focusFrontScreen() {
    const QWidget* focus = QApplication::focusWidget();
    const Screen front = screenInFront();
    if ((focus != nullptr && (focus->isVisible() || !isAncestorOf(focus))) ||
        front == Screen::None) {
        return;
    }
    QFrame* screen = panel(front);
    for (QWidget* w = screen->nextInFocusChain(); w != screen; w = w->nextInFocusChain()) {
        if (screen->isAncestorOf(w) && w->isVisible() && w->isEnabled() &&
            (w->focusPolicy() & Qt::TabFocus) != 0) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    screen->setFocus(Qt::OtherFocusReason);
}

Screen MainWindow::screenInFront() const {
    // Front to back: sign-in, administrator, test log, document, test, progress.
    for (Screen screen : {Screen::SignIn, Screen::Administrator, Screen::TestLog, Screen::Document,
                          Screen::Test, Screen::Progress}) {
        if (!panel(screen)->isHidden()) {
            return screen;
        }
    }
    return Screen::None;
}

void MainWindow::showdoc(const QString& path) {
    showScreen(Screen::Document);
    documentView_->navigate(CourseState::filePath(path));
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
    if (target.isEmpty() || state_->mayOpen(target)) {
        return true;
    }
    // Shown once the browser has its answer: a box must not wait inside the browser's question.
    QTimer::singleShot(0, this, [this] {
        MessageBoxes::information(
            this, QStringLiteral("Этот материал пока закрыт: сначала сдайте предыдущий тест."));
    });
    return false;
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
    for (const OfferedDocument& document : state_->documents()) {
        documents.append({CourseState::filePath(document.path), document.caption.trimmed()});
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
                    for (const QString& path : state_->offeredDocuments()) {
                        openable << CourseState::filePath(path);
                    }
                    return openable;
                },
                this);
            connect(state_, &CourseState::changed, searchWindow_, &CourseSearchWindow::refresh);
            connect(searchWindow_, &CourseSearchWindow::openWanted, this,
                    &MainWindow::openSearchResult);
        }
        searchWindow_->showInFront();
    });
}

// A result opens through its menu command's way, showdoc, with the find bar on its word.
void MainWindow::openSearchResult(const QString& path, const QString& word) {
    guarded(this, [&] {
        for (const OfferedDocument& document : state_->documents()) {
            if (document.offered && CourseState::filePath(document.path) == path) {
                showdoc(document.path);
                documentContent_->openFindBar(word);
                activateWindow();
                return;
            }
        }
    });
}

// ---- start-up and exit ----

void MainWindow::openHelpContents() {
    guarded(this, [&] { documentView_->navigate(CourseState::filePath(state_->course().help)); });
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
    showScreen(Screen::SignIn);
    signInContent_->nameBox()->setFocus();
    state_->start();
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
        setScreenVisible(Screen::Administrator, false);
        setScreenVisible(Screen::Document, true);
    });
}

void MainWindow::leaveTestLog() {
    guarded(this, [&] { showScreen(Screen::Document); });
}

void MainWindow::showSignInScreen() {
    // The sign-in screen is front-most: making it visible covers the others.
    guarded(this, [&] {
        documentContent_->closeFindBar();
        setScreenVisible(Screen::SignIn, true);
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
        state_->chooseTest(testKey);
        startTest();
    });
}

void MainWindow::showAdminSettings() {
    guarded(this, [&] { showScreen(Screen::Administrator); });
}

void MainWindow::openScramblingTool() {
    guarded(this, [&] {
        if (scramblingTool_ != nullptr) {
            scramblingTool_->setWindowTitle(state_->session().userName);
            scramblingTool_->exec();
        }
    });
}

} // namespace velmora
