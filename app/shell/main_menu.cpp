#include "app/shell/main_menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/logic/command_ids.h"

namespace tetrakon {

namespace {

constexpr int kSeparator = 0;

struct MenuItem {
    const char* text;
    int commandId;
};

struct DropDown {
    const char* title;
    std::initializer_list<MenuItem> items;
};

const DropDown kMenu[] = {
    {"Файл", {{"Перемешать", ID_FILE_SHUFFLE}, {nullptr, kSeparator}, {"Выход", ID_APP_EXIT}}},
    {"Редактирование",
     {{"Повернуть обратно", ID_EDIT_UNDO_TURN},
      {"Возврат в начало", ID_EDIT_RETURN_TO_START},
      {"Центрирование пирамиды", ID_EDIT_CENTRE}}},
    {"Настройки",
     {{"Цвет фона", ID_SETTINGS_BACKGROUND_COLOUR},
      {"Картинка фона", ID_SETTINGS_BACKGROUND_PICTURE},
      {"Преднастройки", ID_SETTINGS_PRESETS}}},
    {"Справка", {{"О программе", ID_HELP_ABOUT}, {"Помощь", ID_HELP_CONTENTS}}},
};

}  // namespace

MainMenu::MainMenu(QMenuBar* bar, CommandHandler onCommand, EnablingRule isEnabled) : QObject(bar) {
    for (const DropDown& dropDown : kMenu) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(dropDown.title));
        std::vector<std::pair<int, QAction*>> items;
        for (const MenuItem& item : dropDown.items) {
            if (item.commandId == kSeparator) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(QString::fromUtf8(item.text));
            const int id = item.commandId;
            action->setData(id);
            QObject::connect(action, &QAction::triggered, this, [onCommand, id] { onCommand(id); });
            actions_[id] = action;
            items.emplace_back(id, action);
        }
        QObject::connect(menu, &QMenu::aboutToShow, this, [items, isEnabled] {
            for (const auto& [id, action] : items) {
                action->setEnabled(isEnabled(id));
            }
        });
    }
}

QAction* MainMenu::action(int commandId) const {
    const auto found = actions_.find(commandId);
    return found != actions_.end() ? found->second : nullptr;
}

}  // namespace tetrakon
