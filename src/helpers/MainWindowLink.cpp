#include "helpers/MainWindowLink.h"

#include <stdexcept>
#include <utility>

namespace {

MainWindowLink::Hooks &hooks()
{
    static MainWindowLink::Hooks installedHooks;
    return installedHooks;
}

// The hook, or a logic error naming it when the main window has not handed it over.
template <class Hook> const Hook &required(const Hook &hook, const char *name)
{
    if (!hook)
        throw std::logic_error(std::string("no main window has handed over its ") + name);
    return hook;
}

} // namespace

MainWindowLink::Hooks MainWindowLink::install(Hooks newHooks)
{
    return std::exchange(hooks(), std::move(newHooks));
}

bool MainWindowLink::installed()
{
    return static_cast<bool>(hooks().data1);
}

platform::DataControl &MainWindowLink::Data1()
{
    return required(hooks().data1, "data control")();
}

QString MainWindowLink::CategoryCaption()
{
    return required(hooks().categoryCaption, "category caption")();
}

void MainWindowLink::SetCategoryCaption(const QString &caption)
{
    required(hooks().setCategoryCaption, "category caption")(caption);
}

void MainWindowLink::ClearDetailBoxes()
{
    required(hooks().clearDetailBoxes, "detail boxes")();
}

void MainWindowLink::ClearFilterMessage()
{
    required(hooks().clearFilterMessage, "filter message")();
}

void MainWindowLink::HideFilterMessage()
{
    required(hooks().hideFilterMessage, "filter message")();
}

platform::DataControl *MainWindowLink::LoadedData1()
{
    return hooks().loadedData1 ? hooks().loadedData1() : nullptr;
}
