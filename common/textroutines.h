#pragma once

// Small text routines of the panels and lists: type-ahead, club names, sex words, credit
// line, SQL quoting, texts shown in messages, padded and decimal numbers.

#include <QString>

#include <optional>

class QComboBox;

namespace kx {

// Type-ahead of a fixed-choice combo box: when no entry is selected (the user typed),
// the position of the first entry whose first character equals the whole typed text,
// both in upper case; nothing when an entry is selected or no entry matches.
std::optional<int> ComboTypeAhead(const QComboBox& combo);
// The same rule on plain values (the combo's selected index, edit text and entries).
std::optional<int> ComboTypeAhead(int selectedIndex, const QString& text,
                                  const QStringList& entries);
// Connects the usual change handler: select the type-ahead's position, else the first entry.
void InstallComboTypeAhead(QComboBox& combo);

// Writes a club name as typed by the organisers in its conventional spelling:
// "SKI-CLUB MUENCHEN E.V." becomes "Ski-Club München e.V.".
QString CapitalizeClubName(const QString& name);

// The women's and men's word of a group or sex code, by the letters of the race number:
// "W" is "Mädchen" when the race number holds a capital M, else "Damen"; "M" is "Buben"
// when it holds a capital B, else "Herren"; any other code is returned unchanged.
QString SexWord(const QString& code, const QString& raceNumber);

// The credit line of the start lists: the program title replaced by the tool's own name.
QString StartListCreditLine(const QString& creditLine);

// Doubles every single quote, for a text inside an SQL string literal.
QString SqlQuote(const QString& text);

// A text from a file or a foreign table as a message names it: its first `length`
// characters, followed by "…" when it is longer; control characters (a NUL) shown as "�".
QString ShownText(const QString& text, int length = 80);

// Appends a whole number with at least `width` digits, zero-padded after the sign; any
// qint64, the smallest included.
void AppendPadded(QString& out, qint64 value, int width);

// `value` rounded to `decimals` decimals, never with digit groups: 1269.69 is "1269,69".
// The decimal separator is the user's locale's (a comma in German), or `point` where a
// file format fixes it. Every decimal number the program prints or exports is written so.
QString DecimalText(double value, int decimals = 2, QStringView point = {});

}  // namespace kx
