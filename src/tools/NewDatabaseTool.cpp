// quiltern-newdb <path>: makes a new, empty database from the schema the program ships with.
// It never overwrites a file that is already there.
#include "platform/RuntimeError.h"
#include "platform/db/NewDatabase.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    // A word that starts with a dash is an option asked for, not a database to make: a
    // file named "--help" would be made otherwise. Such a path is given as ./-name.
    const bool helpAsked = args.size() == 2 && (args[1] == QLatin1String("--help") || args[1] == QLatin1String("-h"));
    if (args.size() != 2 || args[1].startsWith(QLatin1Char('-'))) {
        std::fprintf(helpAsked ? stdout : stderr, "usage: quiltern-newdb <path of the new database>\n");
        return helpAsked ? 0 : 2;
    }
    try {
        platform::createDatabaseFromSchema(args[1]);
    } catch (const platform::RuntimeError &error) {
        std::fprintf(stderr, "quiltern-newdb: %s\n", qPrintable(error.description()));
        return 1;
    }
    return 0;
}
