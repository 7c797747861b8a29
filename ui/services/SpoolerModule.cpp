#include "ui/services/SpoolerModule.h"

#include <QFileInfo>
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
    // A relative name would be looked for along the library search path, and for a file that
    // isn't there the loader would try names of its own making.
    const QFileInfo file(path_);
    if (file.isRelative())
        return QStringLiteral("its path is not absolute");
    if (!file.isFile())
        return QStringLiteral("there is no such file");
    // A library that failed once keeps failing: each try needs one of its own.
    auto library = std::make_unique<QLibrary>(path_);
    // Every symbol of the module and of the libraries it brings is bound now, while the
    // question waits, rather than one by one as the command first calls them.
    library->setLoadHints(QLibrary::ResolveAllSymbolsHint);
    if (!library->load())
        return library->errorString();
    const auto version = reinterpret_cast<spooler_module::VersionFunction>(
        library->resolve(spooler_module::kVersionEntry));
    const auto create = reinterpret_cast<spooler_module::CreateFunction>(
        library->resolve(spooler_module::kCreateEntry));
    const auto destroy = reinterpret_cast<spooler_module::DestroyFunction>(
        library->resolve(spooler_module::kDestroyEntry));
    if (version == nullptr || create == nullptr || destroy == nullptr)
        return QStringLiteral("it is no spooler module");
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
    library_ = std::move(library);
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
    // Whether any printer is set up can't be told without the spooler.
    return load() ? spooler_->defaultPrinter() : DefaultPrinter{true, std::string()};
}

Spooler::Handle SpoolerModule::openPrinter(const std::string& name) {
    return load() ? spooler_->openPrinter(name) : kNoHandle;
}

// A printer is open only through the module's spooler: without it there is no handle to use.
long SpoolerModule::queuedJobs(Handle printer) {
    return spooler_ != nullptr ? spooler_->queuedJobs(printer) : 0;
}

bool SpoolerModule::queueStopped(Handle printer) {
    return spooler_ != nullptr && spooler_->queueStopped(printer);
}

bool SpoolerModule::startDocument(Handle printer, const std::string& documentName) {
    return spooler_ != nullptr && spooler_->startDocument(printer, documentName);
}

bool SpoolerModule::startPage(Handle printer) {
    return spooler_ != nullptr && spooler_->startPage(printer);
}

long SpoolerModule::writeChunk(Handle printer, const Bytes& chunk) {
    return spooler_ != nullptr ? spooler_->writeChunk(printer, chunk) : -1;
}

bool SpoolerModule::endPage(Handle printer) {
    return spooler_ != nullptr && spooler_->endPage(printer);
}

bool SpoolerModule::endDocument(Handle printer) {
    return spooler_ != nullptr && spooler_->endDocument(printer);
}

void SpoolerModule::cancelDocument(Handle printer) {
    if (spooler_ != nullptr)
        spooler_->cancelDocument(printer);
}

void SpoolerModule::closePrinter(Handle printer) {
    if (spooler_ != nullptr)
        spooler_->closePrinter(printer);
}

}  // namespace orvel
