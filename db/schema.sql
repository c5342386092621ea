-- The empty database the program comes with: its tables, indexes, stored queries and the
-- settings rows it ships with. Text columns carry their defined size (checked on every write)
-- and compare in the jet_text order the program registers on every connection (case and
-- accents ignored, accented letters beside their base letter); every counter is
-- AUTOINCREMENT so that a new row never takes over a deleted one's number, category links
-- or reminders. Dates are ISO-8601 text.
-- Index names are "<table>.<index>": the part after the dot is the name record sets use.

CREATE TABLE tblContacts (
    RecordID INTEGER PRIMARY KEY AUTOINCREMENT,
    Prefix VARCHAR(50) COLLATE jet_text CONSTRAINT "Prefix size" CHECK (length(Prefix) <= 50),
    FirstName VARCHAR(255) COLLATE jet_text CONSTRAINT "FirstName size" CHECK (length(FirstName) <= 255),
    MiddleName VARCHAR(255) COLLATE jet_text CONSTRAINT "MiddleName size" CHECK (length(MiddleName) <= 255),
    LastName VARCHAR(255) COLLATE jet_text CONSTRAINT "LastName size" CHECK (length(LastName) <= 255),
    Suffix VARCHAR(20) COLLATE jet_text CONSTRAINT "Suffix size" CHECK (length(Suffix) <= 20),
    Nickname VARCHAR(25) COLLATE jet_text CONSTRAINT "Nickname size" CHECK (length(Nickname) <= 25),
    Title VARCHAR(30) COLLATE jet_text CONSTRAINT "Title size" CHECK (length(Title) <= 30),
    Organization VARCHAR(255) COLLATE jet_text CONSTRAINT "Organization size" CHECK (length(Organization) <= 255),
    First_Address_Desc VARCHAR(25) COLLATE jet_text CONSTRAINT "First_Address_Desc size" CHECK (length(First_Address_Desc) <= 25),
    First_Address1 VARCHAR(50) COLLATE jet_text CONSTRAINT "First_Address1 size" CHECK (length(First_Address1) <= 50),
    First_Address2 VARCHAR(50) COLLATE jet_text CONSTRAINT "First_Address2 size" CHECK (length(First_Address2) <= 50),
    First_Address3 VARCHAR(50) COLLATE jet_text CONSTRAINT "First_Address3 size" CHECK (length(First_Address3) <= 50),
    First_City VARCHAR(50) COLLATE jet_text CONSTRAINT "First_City size" CHECK (length(First_City) <= 50),
    First_State VARCHAR(25) COLLATE jet_text CONSTRAINT "First_State size" CHECK (length(First_State) <= 25),
    First_PostalCode VARCHAR(20) COLLATE jet_text CONSTRAINT "First_PostalCode size" CHECK (length(First_PostalCode) <= 20),
    First_Country VARCHAR(50) COLLATE jet_text CONSTRAINT "First_Country size" CHECK (length(First_Country) <= 50),
    Second_Address_Desc VARCHAR(25) COLLATE jet_text CONSTRAINT "Second_Address_Desc size" CHECK (length(Second_Address_Desc) <= 25),
    Second_Address1 VARCHAR(50) COLLATE jet_text CONSTRAINT "Second_Address1 size" CHECK (length(Second_Address1) <= 50),
    Second_Address2 VARCHAR(50) COLLATE jet_text CONSTRAINT "Second_Address2 size" CHECK (length(Second_Address2) <= 50),
    Second_Address3 VARCHAR(50) COLLATE jet_text CONSTRAINT "Second_Address3 size" CHECK (length(Second_Address3) <= 50),
    Second_City VARCHAR(50) COLLATE jet_text CONSTRAINT "Second_City size" CHECK (length(Second_City) <= 50),
    Second_State VARCHAR(25) COLLATE jet_text CONSTRAINT "Second_State size" CHECK (length(Second_State) <= 25),
    Second_PostalCode VARCHAR(20) COLLATE jet_text CONSTRAINT "Second_PostalCode size" CHECK (length(Second_PostalCode) <= 20),
    Second_Country VARCHAR(50) COLLATE jet_text CONSTRAINT "Second_Country size" CHECK (length(Second_Country) <= 50),
    AddressForLabels SMALLINT DEFAULT 1,
    Phone1 VARCHAR(30) COLLATE jet_text CONSTRAINT "Phone1 size" CHECK (length(Phone1) <= 30),
    Phone1_Desc VARCHAR(20) COLLATE jet_text CONSTRAINT "Phone1_Desc size" CHECK (length(Phone1_Desc) <= 20),
    Phone2 VARCHAR(30) COLLATE jet_text CONSTRAINT "Phone2 size" CHECK (length(Phone2) <= 30),
    Phone2_Desc VARCHAR(20) COLLATE jet_text CONSTRAINT "Phone2_Desc size" CHECK (length(Phone2_Desc) <= 20),
    Phone3 VARCHAR(30) COLLATE jet_text CONSTRAINT "Phone3 size" CHECK (length(Phone3) <= 30),
    Phone3_Desc VARCHAR(20) COLLATE jet_text CONSTRAINT "Phone3_Desc size" CHECK (length(Phone3_Desc) <= 20),
    Phone4 VARCHAR(30) COLLATE jet_text CONSTRAINT "Phone4 size" CHECK (length(Phone4) <= 30),
    Phone4_Desc VARCHAR(20) COLLATE jet_text CONSTRAINT "Phone4_Desc size" CHECK (length(Phone4_Desc) <= 20),
    Phone5 VARCHAR(30) COLLATE jet_text CONSTRAINT "Phone5 size" CHECK (length(Phone5) <= 30),
    Phone5_Desc VARCHAR(20) COLLATE jet_text CONSTRAINT "Phone5_Desc size" CHECK (length(Phone5_Desc) <= 20),
    Phone6 VARCHAR(30) COLLATE jet_text CONSTRAINT "Phone6 size" CHECK (length(Phone6) <= 30),
    Phone6_Desc VARCHAR(20) COLLATE jet_text CONSTRAINT "Phone6_Desc size" CHECK (length(Phone6_Desc) <= 20),
    Date1 DATETIME,
    Date1_Desc VARCHAR(25) COLLATE jet_text CONSTRAINT "Date1_Desc size" CHECK (length(Date1_Desc) <= 25),
    Date2 DATETIME,
    Date2_Desc VARCHAR(25) COLLATE jet_text CONSTRAINT "Date2_Desc size" CHECK (length(Date2_Desc) <= 25),
    Date3 DATETIME,
    Date3_Desc VARCHAR(25) COLLATE jet_text CONSTRAINT "Date3_Desc size" CHECK (length(Date3_Desc) <= 25),
    Date4 DATETIME,
    Date4_Desc VARCHAR(25) COLLATE jet_text CONSTRAINT "Date4_Desc size" CHECK (length(Date4_Desc) <= 25),
    Date5 DATETIME,
    Date5_Desc VARCHAR(25) COLLATE jet_text CONSTRAINT "Date5_Desc size" CHECK (length(Date5_Desc) <= 25),
    Email_Address VARCHAR(255) COLLATE jet_text CONSTRAINT "Email_Address size" CHECK (length(Email_Address) <= 255),
    UserField1 VARCHAR(255) COLLATE jet_text CONSTRAINT "UserField1 size" CHECK (length(UserField1) <= 255),
    UserField1_Desc VARCHAR(25) COLLATE jet_text CONSTRAINT "UserField1_Desc size" CHECK (length(UserField1_Desc) <= 25),
    UserField2 VARCHAR(255) COLLATE jet_text CONSTRAINT "UserField2 size" CHECK (length(UserField2) <= 255),
    UserField2_Desc VARCHAR(25) COLLATE jet_text CONSTRAINT "UserField2_Desc size" CHECK (length(UserField2_Desc) <= 25),
    UserField3 VARCHAR(255) COLLATE jet_text CONSTRAINT "UserField3 size" CHECK (length(UserField3) <= 255),
    UserField3_Desc VARCHAR(25) COLLATE jet_text CONSTRAINT "UserField3_Desc size" CHECK (length(UserField3_Desc) <= 25),
    Code VARCHAR(50) COLLATE jet_text CONSTRAINT "Code size" CHECK (length(Code) <= 50),
    Notes LONGTEXT COLLATE jet_text,
    PrintNotes YESNO NOT NULL DEFAULT 0,
    DateUpdated DATETIME,
    PicturePath1 VARCHAR(255) COLLATE jet_text CONSTRAINT "PicturePath1 size" CHECK (length(PicturePath1) <= 255),
    PicturePath2 VARCHAR(255) COLLATE jet_text CONSTRAINT "PicturePath2 size" CHECK (length(PicturePath2) <= 255),
    PicturePath3 VARCHAR(255) COLLATE jet_text CONSTRAINT "PicturePath3 size" CHECK (length(PicturePath3) <= 255),
    PicturePath4 VARCHAR(255) COLLATE jet_text CONSTRAINT "PicturePath4 size" CHECK (length(PicturePath4) <= 255),
    PicturePath5 VARCHAR(255) COLLATE jet_text CONSTRAINT "PicturePath5 size" CHECK (length(PicturePath5) <= 255),
    PicturePath6 VARCHAR(255) COLLATE jet_text CONSTRAINT "PicturePath6 size" CHECK (length(PicturePath6) <= 255),
    PicturePath7 VARCHAR(255) COLLATE jet_text CONSTRAINT "PicturePath7 size" CHECK (length(PicturePath7) <= 255),
    PicturePath8 VARCHAR(255) COLLATE jet_text CONSTRAINT "PicturePath8 size" CHECK (length(PicturePath8) <= 255),
    Selected VARCHAR(1) COLLATE jet_text DEFAULT ' ' CONSTRAINT "Selected size" CHECK (length(Selected) <= 1)
);

CREATE INDEX "tblContacts.LastName" ON tblContacts (LastName, FirstName);
CREATE INDEX "tblContacts.Organization" ON tblContacts (Organization, LastName, FirstName);
CREATE INDEX "tblContacts.FirstName" ON tblContacts (FirstName);
CREATE INDEX "tblContacts.MiddleName" ON tblContacts (MiddleName);
CREATE INDEX "tblContacts.Nickname" ON tblContacts (Nickname);
CREATE INDEX "tblContacts.Title" ON tblContacts (Title);
CREATE INDEX "tblContacts.First_City" ON tblContacts (First_City);
CREATE INDEX "tblContacts.First_State" ON tblContacts (First_State);
CREATE INDEX "tblContacts.First_PostalCode" ON tblContacts (First_PostalCode);
CREATE INDEX "tblContacts.First_Country" ON tblContacts (First_Country);
CREATE INDEX "tblContacts.Second_City" ON tblContacts (Second_City);
CREATE INDEX "tblContacts.Second_State" ON tblContacts (Second_State);
CREATE INDEX "tblContacts.Second_PostalCode" ON tblContacts (Second_PostalCode);
CREATE INDEX "tblContacts.Second_Country" ON tblContacts (Second_Country);
CREATE INDEX "tblContacts.Phone1" ON tblContacts (Phone1);
CREATE INDEX "tblContacts.Phone2" ON tblContacts (Phone2);
CREATE INDEX "tblContacts.Phone3" ON tblContacts (Phone3);
CREATE INDEX "tblContacts.Phone4" ON tblContacts (Phone4);
CREATE INDEX "tblContacts.Date1" ON tblContacts (Date1);
CREATE INDEX "tblContacts.Date2" ON tblContacts (Date2);
CREATE INDEX "tblContacts.Date3" ON tblContacts (Date3);
CREATE INDEX "tblContacts.Email_Address" ON tblContacts (Email_Address);
CREATE INDEX "tblContacts.UserField1" ON tblContacts (UserField1);
CREATE INDEX "tblContacts.UserField2" ON tblContacts (UserField2);
CREATE INDEX "tblContacts.UserField3" ON tblContacts (UserField3);
CREATE INDEX "tblContacts.Code" ON tblContacts (Code);
CREATE INDEX "tblContacts.DateUpdated" ON tblContacts (DateUpdated);
CREATE INDEX "tblContacts.PicturePath1" ON tblContacts (PicturePath1);
CREATE INDEX "tblContacts.PicturePath2" ON tblContacts (PicturePath2);
CREATE INDEX "tblContacts.PicturePath3" ON tblContacts (PicturePath3);
CREATE INDEX "tblContacts.PicturePath4" ON tblContacts (PicturePath4);
CREATE INDEX "tblContacts.PicturePath5" ON tblContacts (PicturePath5);
CREATE INDEX "tblContacts.PicturePath6" ON tblContacts (PicturePath6);
CREATE INDEX "tblContacts.PicturePath7" ON tblContacts (PicturePath7);
CREATE INDEX "tblContacts.PicturePath8" ON tblContacts (PicturePath8);
-- Clearing the marks at exit, and the selection views, look only at marked rows.
CREATE INDEX "tblContacts.Selected" ON tblContacts (Selected);

CREATE TABLE tblSettings (
    Type VARCHAR(50) COLLATE jet_text CONSTRAINT "Type size" CHECK (length(Type) <= 50),
    Name VARCHAR(255) COLLATE jet_text CONSTRAINT "Name size" CHECK (length(Name) <= 255),
    Setting1 VARCHAR(255) COLLATE jet_text CONSTRAINT "Setting1 size" CHECK (length(Setting1) <= 255),
    Setting2 VARCHAR(255) COLLATE jet_text CONSTRAINT "Setting2 size" CHECK (length(Setting2) <= 255),
    Setting3 VARCHAR(255) COLLATE jet_text CONSTRAINT "Setting3 size" CHECK (length(Setting3) <= 255),
    Setting4 VARCHAR(255) COLLATE jet_text CONSTRAINT "Setting4 size" CHECK (length(Setting4) <= 255),
    Setting5 VARCHAR(255) COLLATE jet_text CONSTRAINT "Setting5 size" CHECK (length(Setting5) <= 255),
    Setting6 VARCHAR(255) COLLATE jet_text CONSTRAINT "Setting6 size" CHECK (length(Setting6) <= 255),
    Setting7 VARCHAR(255) COLLATE jet_text CONSTRAINT "Setting7 size" CHECK (length(Setting7) <= 255),
    Setting8 LONGTEXT COLLATE jet_text
);
CREATE INDEX "tblSettings.Type" ON tblSettings (Type, Name);

CREATE TABLE tblCategoryDesc (
    CategoryNumber INTEGER PRIMARY KEY AUTOINCREMENT,
    CategoryDesc VARCHAR(50) COLLATE jet_text CONSTRAINT "CategoryDesc size" CHECK (length(CategoryDesc) <= 50)
);
CREATE INDEX "tblCategoryDesc.CategoryDesc" ON tblCategoryDesc (CategoryDesc);

CREATE TABLE tblCategoryID (
    ID INTEGER NOT NULL,
    CategoryNumber INTEGER NOT NULL
);
CREATE UNIQUE INDEX "tblCategoryID.PrimaryKey" ON tblCategoryID (ID, CategoryNumber);
CREATE INDEX "tblCategoryID.CategoryNumber" ON tblCategoryID (CategoryNumber);

CREATE TABLE tblRemind (
    RecordID INTEGER PRIMARY KEY AUTOINCREMENT,
    LinkedRecordID INTEGER DEFAULT 0,
    Description VARCHAR(255) COLLATE jet_text CONSTRAINT "Description size" CHECK (length(Description) <= 255),
    RemindDate DATETIME,
    WarningDays INTEGER DEFAULT 0,
    WarnDate DATETIME,
    Status VARCHAR(10) COLLATE jet_text CONSTRAINT "Status size" CHECK (length(Status) <= 10),
    FrequencyPeriod VARCHAR(10) COLLATE jet_text CONSTRAINT "FrequencyPeriod size" CHECK (length(FrequencyPeriod) <= 10),
    FrequencyAmount INTEGER DEFAULT 0,
    Notes LONGTEXT COLLATE jet_text
);
CREATE INDEX "tblRemind.LinkedRecordID" ON tblRemind (LinkedRecordID);
CREATE INDEX "tblRemind.WarnDate" ON tblRemind (WarnDate);

-- A work table, emptied and refilled as a whole; ID only identifies its rows for deletes.
CREATE TABLE tblCurrentReminders (
    RemindDate DATETIME,
    RecordID INTEGER,
    TblRemindRecordID INTEGER,
    Description VARCHAR(255) COLLATE jet_text CONSTRAINT "Description size" CHECK (length(Description) <= 255),
    Notes LONGTEXT COLLATE jet_text,
    WarnDate DATETIME,
    ID INTEGER PRIMARY KEY AUTOINCREMENT
);

-- One row per contact and category link; writes go to the contact row.
CREATE VIEW qryContacts AS
    SELECT tblContacts.*, tblCategoryID.CategoryNumber
    FROM tblContacts INNER JOIN tblCategoryID ON tblCategoryID.ID = tblContacts.RecordID;

-- Every reminder with its contact's name (none when it belongs to no contact), soonest first.
CREATE VIEW qryRemind AS
    SELECT tblRemind.RecordID, tblRemind.LinkedRecordID, tblRemind.Description, tblRemind.RemindDate,
           tblRemind.WarningDays, tblRemind.WarnDate, tblRemind.Status, tblRemind.Notes,
           tblRemind.FrequencyPeriod, tblRemind.FrequencyAmount,
           tblContacts.FirstName, tblContacts.MiddleName, tblContacts.LastName, tblContacts.Organization
    FROM tblRemind LEFT JOIN tblContacts ON tblContacts.RecordID = tblRemind.LinkedRecordID
    ORDER BY tblRemind.RemindDate, tblRemind.Description;

-- Due: active, and its warning date (the date less the warning days) is today or earlier, so an
-- overdue reminder stays due until it is removed or advanced. quiltern_today() is the program's
-- own clock, registered on every connection.
CREATE VIEW qryNewReminders AS
    SELECT tblRemind.RemindDate, tblRemind.LinkedRecordID, tblRemind.RecordID AS TblRemindRecordID,
           tblRemind.Description, tblRemind.Notes, tblRemind.WarnDate
    FROM tblRemind
    WHERE tblRemind.Status = 'Active' AND substr(tblRemind.WarnDate, 1, 10) <= quiltern_today()
    ORDER BY tblRemind.WarnDate, tblRemind.RemindDate;

-- The due list with the contact's name; deleting a row deletes the work row.
CREATE VIEW qryCurrentReminders AS
    SELECT tblCurrentReminders.TblRemindRecordID, tblCurrentReminders.Description,
           tblCurrentReminders.RemindDate, tblCurrentReminders.Notes, tblCurrentReminders.RecordID,
           tblCurrentReminders.WarnDate, tblContacts.FirstName, tblContacts.MiddleName,
           tblContacts.LastName, tblContacts.Organization, tblCurrentReminders.ID
    FROM tblCurrentReminders LEFT JOIN tblContacts ON tblContacts.RecordID = tblCurrentReminders.RecordID
    ORDER BY tblCurrentReminders.RemindDate, tblCurrentReminders.Description;

-- Settings rows the program only ever edits.
INSERT INTO tblSettings (Type, Name, Setting1) VALUES ('COMMSETTINGS', 'COM1', '');
INSERT INTO tblSettings (Type, Name, Setting1, Setting2, Setting3, Setting4, Setting5, Setting6, Setting7) VALUES ('RETURNADDRESS1', 'First Return Address', '', '', '', '', '', '', '');
INSERT INTO tblSettings (Type, Name, Setting1, Setting2, Setting3, Setting4, Setting5, Setting6, Setting7) VALUES ('RETURNADDRESS2', 'Second Return Address', '', '', '', '', '', '', '');
INSERT INTO tblSettings (Type, Name) VALUES ('RETURNADDRESSCHOICE', '3');
INSERT INTO tblSettings (Type, Name, Setting1, Setting2, Setting3, Setting4) VALUES ('REPORT', 'Envelope Orientation', 'Landscape', '0', 'Arial', '8');
-- A new database prints its first envelope with the return and main addresses apart.
INSERT INTO tblSettings (Type, Name, Setting1, Setting2, Setting3, Setting4) VALUES ('REPORT', 'Envelope Main Address', '5760', '2880', 'Arial', '12');
INSERT INTO tblSettings (Type, Name, Setting1, Setting2, Setting3, Setting4) VALUES ('REPORT', 'Envelope Return Address', '360', '360', 'Arial', '10');
INSERT INTO tblSettings (Type, Name) VALUES ('VERSION', '3.0');

-- Standard report positions (twips) and fonts. Labels: US Letter sheets of 1 x 2-5/8" (3 across)
-- and 1 x 4" (2 across), ten rows from a half-inch top margin; continuous 1-1/2 x 4" and
-- 15/16 x 3-1/2" labels. Envelopes: #10 (9-1/2 x 4-1/8") fed landscape.
INSERT INTO tblSettings (Type, Name, Setting1, Setting2, Setting3, Setting4) VALUES ('REPORTdefault', 'Labels 1 x 2-5/8 3-up', '0', '420', 'Arial', '10');
INSERT INTO tblSettings (Type, Name, Setting1, Setting2, Setting3, Setting4) VALUES ('REPORTdefault', 'Labels 1-1/2 x 4 1-up', '0', '0', 'Arial', '10');
INSERT INTO tblSettings (Type, Name, Setting1, Setting2, Setting3, Setting4) VALUES ('REPORTdefault', 'Labels 15/16 x 3-1/2 1-up', '0', '0', 'Arial', '9');
INSERT INTO tblSettings (Type, Name, Setting1, Setting2, Setting3, Setting4) VALUES ('REPORTdefault', 'Labels 1 x 4 2-up', '0', '420', 'Arial', '10');
INSERT INTO tblSettings (Type, Name, Setting1, Setting2, Setting3, Setting4) VALUES ('REPORTdefault', 'Envelope Main Address', '5760', '2880', 'Arial', '12');
INSERT INTO tblSettings (Type, Name, Setting1, Setting2, Setting3, Setting4) VALUES ('REPORTdefault', 'Envelope Return Address', '360', '360', 'Arial', '10');
INSERT INTO tblSettings (Type, Name, Setting1, Setting2, Setting3, Setting4) VALUES ('REPORTdefault', 'Envelope Orientation', 'Landscape', '0', 'Arial', '8');
INSERT INTO tblSettings (Type, Name, Setting1, Setting2, Setting3, Setting4) VALUES ('REPORTdefault', 'Pocket Report', '0', '0', 'Arial', '8');
