#include "forms/record/quillary.h"

#include "forms/common.h"
#include "forms/record/recordtexts.h"

#include "platform/dialogs.h"
#include "platform/localeservices.h"
#include "records/maintenance.h"
#include "records/search.h"

#include <QComboBox>
#include <QLineEdit>

#include <algorithm>

namespace quillary {

namespace {

const QString kNoRecords = QStringLiteral("No records, one will now be added.");

} // namespace

void Quillary::Command3_Click()
{
    if (!saveStep())
        return;
    // The record count is a 16-bit number: a file that is full cannot take
    // record 32,768, and starting an add that could never be written would
    // only lose what the user types.
    if (!canAddRecord(Lastrecord)) {
        state_.platform.dialogs.message(
            QStringLiteral("This file already holds %1 records, the most a data file can hold. "
                           "No record can be added; start a new file for further records.")
                .arg(QLocale().toString(Lastrecord)),
            Buttons::Ok, Icon::Exclamation, QStringLiteral("Too many records"));
        return;
    }
    adding_ = true;
    Presrecord = Lastrecord + 1;
    Text1->setText(shortDate(Clock::today()));
    Text6->clear();
    Text3->clear();
    Paymethod->setEditText(QString());
    Text5->clear();
    Text2->clear();
    listfil();
    Buttonupd();
    // Typing goes into the new record, never into a control that was
    // focused before (a Space there would change the record's kind).
    Text2->setFocus(Qt::OtherFocusReason);
}

void Quillary::Command4_Click()
{
    Dialogs& dialogs = state_.platform.dialogs;
    if (adding_) {
        // The new record exists only on the form.
        adding_ = false;
        Presrecord = Lastrecord;
        uprec();
        return;
    }
    if (!(Lastrecord > 0)) {
        dialogs.message(QStringLiteral("No records yet, so no Delete!"), Buttons::Ok, Icon::None,
                        QStringLiteral("No Records"));
        return;
    }

    if (!fileInPlace())
        return;
    // The file is rewritten as a whole and atomically: should anything go
    // wrong, it keeps every record it had.
    QString error;
    const bool deleted = deleteRecord(file_, Presrecord, &error);
    Lastrecord = file_.recordCount();
    if (!deleted) {
        const bool open = file_.isOpen();
        dialogs.message(
            open ? QStringLiteral("The record could not be deleted: %1\n\nThe data file has not "
                                  "been changed.")
                       .arg(error)
                 : QStringLiteral("The record was deleted, but the data file could not be "
                                  "opened again: %1\n\nClose this window and open the file "
                                  "anew.")
                       .arg(error),
            Buttons::Ok, Icon::Exclamation, QStringLiteral("Delete failed"));
        Buttonupd();
        return;
    }
    if (Presrecord > 1)
        Presrecord = Presrecord - 1;
    else
        Presrecord = Lastrecord > 0 ? 1 : 0;
    uprec();
}

void Quillary::undolast_Click()
{
    if (adding_) {
        const Answer answer = state_.platform.dialogs.message(
            QStringLiteral("Do you want to cancel the 'Add'"), Buttons::YesNo, Icon::None,
            QStringLiteral("Undo Add?"));
        if (answer == Answer::Yes) {
            adding_ = false;
            Presrecord = Lastrecord;
            uprec();
        }
        return;
    }
    uprec();
}

void Quillary::sortRecords(SortOrder order)
{
    if (!saveStep() || Lastrecord < 2 || !fileInPlace())
        return;
    QString error;
    if (!sortFile(file_, order, &error))
        state_.platform.dialogs.message(sortFailedText(file_, error), Buttons::Ok,
                                        Icon::Exclamation, kSortFailedTitle);
    Lastrecord = file_.recordCount();
    uprec();
}

void Quillary::sortdate_Click()
{
    sortRecords(SortOrder::Date);
}

void Quillary::sorttype_Click()
{
    sortRecords(SortOrder::Type);
}

void Quillary::srch_Click()
{
    Dialogs& dialogs = state_.platform.dialogs;
    if (!saveStep())
        return;
    int found = 0;
    if (Lastrecord == 0) {
        dialogs.message(kNoRecords, Buttons::Ok, Icon::None, kAppTitle);
        Command3_Click();
        return;
    }
    const QString text = dialogs.input(kSearchPrompt, kSearchPromptTitle);
    if (text.isEmpty())
        return;

    // One read of the whole file; the records do not change while the
    // search waits for the user's answers.
    std::vector<TaxRecord> records;
    if (!file_.readAll(records)) {
        dialogs.message(QStringLiteral("The records could not be read for the search."),
                        Buttons::Ok, Icon::Exclamation, QStringLiteral("Search failed"));
        return;
    }
    const int last = std::min(Lastrecord, int(records.size()));
    for (int i = 1; i <= last; ++i) {
        if (!recordMatches(records[std::size_t(i - 1)], text))
            continue;
        ++found;
        Presrecord = i;
        uprec();
        if (dialogs.message(searchFoundText(i, text), Buttons::YesNo, Icon::None,
                            kSearchFoundTitle)
            == Answer::No)
            return;
    }
    if (found == 0)
        dialogs.message(searchNoneText(text), Buttons::Ok, Icon::None, kSearchNoneTitle);
    else
        dialogs.message(searchNoFurtherText(text), Buttons::Ok, Icon::None,
                        kSearchNoFurtherTitle);
}

} // namespace quillary
