#include "qt/desktop_menus.h"

#include "qt/main_window.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

namespace orv {

namespace {

QString Utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void AddRecentGamesMenu(TForm1& form, const RecentGames& games,
                        const std::filesystem::path& current,
                        std::function<void(const std::filesystem::path&)> open) {
    QAction* quitMenu = form.Component("N12");
    if (!quitMenu || !quitMenu->menu()) {
        return;
    }
    QMenu* holder = quitMenu->menu();
    QAction* first = holder->actions().isEmpty() ? nullptr : holder->actions().first();
    auto* recent = new QMenu(QString::fromUtf8("最近のゲーム"), holder);
    recent->menuAction()->setObjectName("RecentGames");
    int number = 0;
    for (const RecentGame& game : games.Games()) {
        if (game.Directory == current) {
            continue;
        }
        ++number;
        // An ampersand in a title is shown, not taken for a shortcut mark.
        QString title = Utf8(game.Title).replace('&', "&&");
        QAction* item = recent->addAction(QString("&%1 %2").arg(number).arg(title));
        item->setObjectName(QString("RecentGame%1").arg(number));
        item->setToolTip(QString::fromStdString(game.Directory.string()));
        std::filesystem::path directory = game.Directory;
        QObject::connect(item, &QAction::triggered, &form, [open, directory] { open(directory); });
    }
    recent->setEnabled(number > 0);
    holder->insertMenu(first, recent);
    holder->insertSeparator(first);
}

void AddHelpMenu(TForm1& form, std::function<AboutFacts()> facts) {
    QMenu* help = form.menuBar()->addMenu(QString::fromUtf8("ヘルプ"));
    help->menuAction()->setObjectName("HelpMenu");
    // Full screen hides the desktop's menus with the game's, so that the bar goes too.
    if (QAction* view = form.findChild<QAction*>("ViewMenu")) {
        QAction* helpAction = help->menuAction();
        helpAction->setVisible(view->isVisible());
        QObject::connect(view, &QAction::visibleChanged, helpAction,
                         [view, helpAction] { helpAction->setVisible(view->isVisible()); });
    }
    QAction* about = help->addAction(QString::fromUtf8("Orvell について"));
    about->setObjectName("About");
    QObject::connect(about, &QAction::triggered, &form, [&form, facts] {
        QMessageBox::about(&form, QString::fromUtf8("Orvell について"), Utf8(AboutText(facts())));
    });
}

} // namespace orv
