#include "app/logic/program_info.h"

namespace tetrakon {

const char* ProgramVersion() {
    return TETRAKON_VERSION;
}

std::string AboutNameLine() {
    return std::string("Головоломка «Тетракон», версия ") + ProgramVersion();
}

std::string AboutLicenceLine() {
    return "© 2026, лицензия MIT";
}

std::string VersionText() {
    return std::string("tetrakon ") + ProgramVersion() + "\n";
}

std::string UsageText() {
    return "Использование: tetrakon [--help | --version]\n"
           "Объёмная головоломка-пирамида «Тетракон».\n"
           "\n"
           "  --help      показать эту справку и выйти\n"
           "  --version   показать версию и выйти\n"
           "\n"
           "Другие параметры не учитываются; с параметром -Embedding или /Automation\n"
           "программа запускается без начальной картинки.\n";
}

}  // namespace tetrakon
