#pragma once

// A competition file for the certificate tests (the result side's fixture), with helpers
// to store templates and to read the certificates back.

#include "certificates/templatestore.h"
#include "tests/results/resultsfixture.h"

namespace kx::test {

inline CertificateEntry TextEntry(const QString& text, const QString& font, const QString& align,
                                  int v, int h) {
  return {text, font, align, QString::number(v), QString::number(h)};
}

class CertificateTest : public ResultsTest {
 protected:
  void SetUp() override { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
  // Racers in the giant slalom, held in one run, with times in hundredths (0: no run).
  void openRace(const std::vector<std::pair<QString, qint64>>& racers) {
    db::CompetitionSpec race = OneRunRace();
    int id = 0;
    for (const auto& [name, time] : racers) {
      ++id;
      AddRacer(race, id, id % 2 ? "W" : "M", 1, name, QStringLiteral("V%1").arg(id));
      if (time > 0) AddRun(race, id, 1, static_cast<double>(time));
    }
    open(race);
  }
};

}  // namespace kx::test
