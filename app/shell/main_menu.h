#pragma once

#include <QObject>
#include <functional>
#include <map>

class QAction;
class QMenuBar;

namespace tetrakon {

// Menu 101: four drop-down menus of plain items, each issuing its command id. Whether an
// item may be chosen is asked each time its menu opens.
class MainMenu : public QObject {
  public:
    using CommandHandler = std::function<void(int commandId)>;
    using EnablingRule = std::function<bool(int commandId)>;

    MainMenu(QMenuBar* bar, CommandHandler onCommand, EnablingRule isEnabled);

    QAction* action(int commandId) const;

  private:
    std::map<int, QAction*> actions_;
};

}  // namespace tetrakon
