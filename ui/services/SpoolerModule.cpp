#include "ui/services/SpoolerModule.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <QFile>
#include <cstdio>

namespace orvel {

SpoolerModule::SpoolerModule(const QString& modulePath) : path_(modulePath) {}

SpoolerModule::~SpoolerModule() {
    if (spooler_ != nullptr)
        destroy_(spooler_);
}

bool SpoolerModule::load() {
    if (spooler_ != nullptr)
        return true;
    const QString why = open();
    if (!why.isEmpty())
        tell(why);
    return spooler_ != nullptr;
}

QString SpoolerModule::open() {
    // A name without a folder would be searched for along the library path.
    if (path_.isEmpty() || !path_.startsWith(QLatin1Char('/')))
        return QStringLiteral("its path is not absolute");
    const QByteArray path = QFile::encodeName(path_);
    struct stat checked {};
    if (stat(path.constData(), &checked) != 0)
        return QStringLiteral("there is no such file");
    if (!S_ISREG(checked.st_mode))
        return QStringLiteral("it is not a regular file");
    // A path with a slash is opened as it stands, never searched for. Every symbol of the module
    // and of the libraries it brings is bound now, while the question waits, rather than one by
    // one as the command first calls them.
    void* library = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        return QString::fromLocal8Bit(dlerror());
    const QString why = takeSpooler(library, checked);
    if (!why.isEmpty()) {
        dlclose(library);
        return why;
    }
    library_ = library;
    return {};
}

// The module's spooler, when the library that was opened is the file that was checked and is a
// module of this interface; why not, otherwise.
QString SpoolerModule::takeSpooler(void* library, const struct stat& checked) {
    const auto version = reinterpret_cast<spooler_module::VersionFunction>(
        dlsym(library, spooler_module::kVersionEntry));
    const auto create = reinterpret_cast<spooler_module::CreateFunction>(
        dlsym(library, spooler_module::kCreateEntry));
    const auto destroy = reinterpret_cast<spooler_module::DestroyFunction>(
        dlsym(library, spooler_module::kDestroyEntry));
    if (version == nullptr || create == nullptr || destroy == nullptr)
        return QStringLiteral("it is no spooler module");
    Dl_info origin{};
    struct stat opened {};
    if (dladdr(reinterpret_cast<void*>(version), &origin) == 0 || origin.dli_fname == nullptr ||
        stat(origin.dli_fname, &opened) != 0 || opened.st_dev != checked.st_dev ||
        opened.st_ino != checked.st_ino)
        return QStringLiteral("the file changed while it was opened");
    const int built = version();
    if (built != spooler_module::kInterfaceVersion)
        return QStringLiteral("it was built for interface %1, the program needs %2")
            .arg(built)
            .arg(spooler_module::kInterfaceVersion);
    Spooler* spooler = create();
    if (spooler == nullptr)
        return QStringLiteral("it made no spooler");
    spooler_ = spooler;
    destroy_ = destroy;
    forwardTo(spooler);
    return {};
}

void SpoolerModule::tell(const QString& why) {
    if (told_)
        return;
    told_ = true;
    std::fprintf(stderr, "The printer can't be reached: the spooler module %s can't be used: %s\n",
                 qPrintable(path_), qPrintable(why));
}

DefaultPrinter SpoolerModule::defaultPrinter() {
    // Without the spooler, the default printer is found under no name.
    load();
    return ForwardingSpooler::defaultPrinter();
}

// The message box keeps its words ("OpenPrinter Falied!!!"); a cause on this computer's side,
// such as a program out of file descriptors, is told on the standard error beside it.
Spooler::Handle SpoolerModule::openPrinter(const std::string& name) {
    if (!load())
        return kNoHandle;
    const Handle printer = ForwardingSpooler::openPrinter(name);
    const std::string why = printer == kNoHandle ? localFailure() : std::string();
    if (!why.empty())
        std::fprintf(stderr, "The printer can't be reached: %s\n", why.c_str());
    return printer;
}

}  // namespace orvel
