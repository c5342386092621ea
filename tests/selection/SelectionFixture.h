#pragma once

#include "helpers/RecordSource.h"
#include "mainwindow/MainWindowFixture.h"
#include "platform/ui/MsgBox.h"
#include "selection/CriteriaForm.h"
#include "selection/SelectionSource.h"

#include <QLabel>
#include <QPushButton>

// Texts read as texts in the failure messages.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

// The running program on five known contacts and three categories:
//   1 Ada Byron (Analytical), 2 Alan Turing, 3 Grace Hopper (Navy), 4 Seán O'Brien, 5 Mary Jones.
//   Family (1): Byron; Friends (2): Byron, Turing; Work (3): none.
class SelectionFixture : public MainWindowFixture {
  protected:
    NameList &startWithContacts()
    {
        prepare(0);
        for (const char *values : {"'Ada', 'Byron', 'Analytical', 'engines', #12/10/1815#, 'Home', 'London'",
                                   "'Alan', 'Turing', Null, 'machines \"and\" codes', Null, 'Work', 'Wilmslow'",
                                   "'Grace', 'Hopper', 'Navy', Null, #12/9/1906#, 'Home', 'New York'",
                                   "'Seán', 'O''Brien', Null, '100% cotton', Null, Null, 'Cork'",
                                   "'Mary', 'Jones', '', 'home_town', Null, Null, 'Boston'"})
            before(QStringLiteral("INSERT INTO tblContacts (FirstName, LastName, Organization, Notes, Date1, "
                                  "Phone1_Desc, First_City) VALUES (%1)")
                       .arg(QString::fromUtf8(values)));
        before("Update tblContacts Set Selected=' '");
        for (const char *category : {"Family", "Friends", "Work"})
            before(QStringLiteral("INSERT INTO tblCategoryDesc (CategoryDesc) VALUES ('%1')").arg(category));
        for (const char *link : {"1, 1", "1, 2", "2, 2"})
            before(QStringLiteral("INSERT INTO tblCategoryID (ID, CategoryNumber) VALUES (%1)").arg(link));
        NameList &w = start();
        gCriteria.reset();
        return w;
    }

    // The last names the main list shows, in its order; the current row is kept.
    static QStringList shownNames(NameList &w)
    {
        platform::Recordset &rs = shown(w);
        QStringList names;
        if (rs.recordCount() == 0)
            return names;
        const platform::Bookmark mark = rs.bookmark();
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            names << rs.value("LastName").toString();
        rs.setBookmark(mark);
        return names;
    }

    // Moves the main list to the contact of that last name.
    static void goTo(NameList &w, const QString &lastName)
    {
        shown(w).findFirst("LastName = '" + lastName + "'");
        ASSERT_FALSE(shown(w).noMatch()) << lastName.toStdString();
    }

    QString settingName(const QString &type)
    {
        auto rs = gDb->openRecordset("Select * from tblSettings Where Type='" + type + "'");
        return rs->eof() ? QStringLiteral("<none>") : rs->value("Name").toString();
    }

    qint64 links(qint64 contact, qint64 category)
    {
        return count(QStringLiteral("Select Count(*) from tblCategoryID Where ID=%1 And CategoryNumber=%2")
                         .arg(contact)
                         .arg(category));
    }

    // The text of every message box shown so far.
    QStringList messages() const
    {
        QStringList texts;
        for (const auto &box : script.shown(platform::DialogKind::Message))
            texts << box.text;
        return texts;
    }
};
