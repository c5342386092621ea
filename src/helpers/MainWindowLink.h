#pragma once

#include <QString>

#include <functional>

namespace platform {
class DataControl;
}

// What the windows below the main window use of it: its data control Data1 (the record
// source, the contacts shown and their refresh), the caption of its category label, the name
// and phone boxes under the grid, and the filter message. The main window stands above
// every subsystem, so it hands these over as it is made; until then there is no main window
// to reach.
//
//   MainWindowLink::Data1().setRecordSource(source);
//   MainWindowLink::SetCategoryCaption(caption);
class MainWindowLink {
  public:
    struct Hooks {
        // The window's Data1, the window loaded first when it is not.
        std::function<platform::DataControl &()> data1;
        // Data1 while the window is loaded; nullptr otherwise.
        std::function<platform::DataControl *()> loadedData1;
        std::function<QString()> categoryCaption;
        // Sets the category label's caption (the Add button follows it).
        std::function<void(const QString &)> setCategoryCaption;
        std::function<void()> clearDetailBoxes;
        std::function<void()> clearFilterMessage;
        std::function<void()> hideFilterMessage;
    };

    // Called by the main window; a later call replaces the earlier hooks, which it returns.
    static Hooks install(Hooks hooks);
    static bool installed();

    // Each of these throws std::logic_error when no main window has handed its hooks over.
    static platform::DataControl &Data1();
    static QString CategoryCaption();
    static void SetCategoryCaption(const QString &caption);
    // Empties the name and phone boxes under the grid.
    static void ClearDetailBoxes();
    static void ClearFilterMessage();
    static void HideFilterMessage();

    // Data1 of the loaded main window; nullptr when none is loaded or none was ever made.
    static platform::DataControl *LoadedData1();
};
