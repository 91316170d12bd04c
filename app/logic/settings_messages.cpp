#include "app/logic/settings_messages.h"

#include <cerrno>

#include "platform/registry/reg_file_format.h"

namespace tetrakon {
namespace {

std::string SystemReason(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return "нет места на диске";
        case EACCES:
        case EPERM:
            return "нет права на запись в папку";
        case EROFS:
            return "файловая система только для чтения";
        default:
            return "ошибка записи (код " + std::to_string(error) + ")";
    }
}

std::string SizeLimit() {
    return std::to_string(kMaxRegFileBytes / (1024 * 1024)) + " МиБ";
}

}  // namespace

std::string UnsavedSettingsLine(const std::string& file, const SaveReport& report) {
    std::string reason;
    switch (report.problem) {
        case SaveProblem::None:
            return {};
        case SaveProblem::LockBusy:
            reason = "блокировку " + file + ".lock держит другой процесс";
            break;
        case SaveProblem::TooLarge:
            reason = "файл стал бы больше " + SizeLimit();
            break;
        case SaveProblem::ReadOnly:
            reason = "нет права на запись в файл";
            break;
        case SaveProblem::OtherOwner:
            reason = "файл принадлежит другому пользователю";
            break;
        case SaveProblem::SystemError:
            reason = SystemReason(report.error);
            break;
    }
    return "tetrakon: настройки не сохранены в " + file + ": " + reason + ".\n";
}

std::string SetAsideLine(const std::string& file, RefusedFile refused) {
    std::string reason;
    switch (refused) {
        case RefusedFile::None:
            return {};
        case RefusedFile::Corrupt:
            reason = "не файл редактора реестра";
            break;
        case RefusedFile::NotRegular:
            reason = "не обычный файл";
            break;
        case RefusedFile::TooLarge:
            reason = "больше " + SizeLimit();
            break;
        case RefusedFile::Unreadable:
            reason = "не читается";
            break;
    }
    return "tetrakon: файл настроек " + file + " не принят (" + reason + ") и сохранён как " +
           file + ".bad.\n";
}

std::string UnusableFolderLine(const std::string& folder) {
    return "tetrakon: настройки не сохранены: папку " + folder + " нельзя создать или открыть.\n";
}

}  // namespace tetrakon
