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
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: quiltern-newdb <path of the new database>\n");
        return 2;
    }
    try {
        platform::createDatabaseFromSchema(args[1]);
    } catch (const platform::RuntimeError &error) {
        std::fprintf(stderr, "quiltern-newdb: %s\n", qPrintable(error.description()));
        return 1;
    }
    return 0;
}
