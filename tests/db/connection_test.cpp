// Opening files, running the main program's statements, schema queries, transactions.
#include "db/database.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kx::db {
namespace {

class ConnectionTest : public ::testing::Test {
 protected:
  QString file(const QString& name) const { return dir_.filePath(name); }
  void writeBytes(const QString& name, const QByteArray& bytes) const {
    QFile f(file(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  // A fresh database with the participant table as the open of a class-40 file finds it.
  std::unique_ptr<Connection> participants() {
    auto db = Connection::create(file("t.mdb"));
    db->execute(
        "create table tblTeilnehmer (id long not null, nachname varchar(80), vorname "
        "varchar(80), verein varchar(80), gsaktiv bit, startnrgs short, pktegs double, "
        "primary key(id))");
    return db;
  }
  QTemporaryDir dir_;
};

TEST_F(ConnectionTest, OpenRefusesWhatIsNoDatabaseAndNeverCreatesAFile) {
  EXPECT_THROW(Connection::open(file("missing.mdb")), Error);
  EXPECT_FALSE(QFileInfo::exists(file("missing.mdb")));

  QByteArray jet("\x00\x01\x00\x00Standard Jet DB", 19);
  jet.append(QByteArray(4096, '\x17'));
  writeBytes("jet.mdb", jet);
  EXPECT_THROW(Connection::open(file("jet.mdb")), Error);

  QByteArray noise;
  for (int i = 0; i < 8192; ++i) noise.append(static_cast<char>((i * 7919 + 13) % 251));
  writeBytes("noise.mdb", noise);
  EXPECT_THROW(Connection::open(file("noise.mdb")), Error);

  EXPECT_THROW(Connection::open(dir_.path()), Error);

  // A damaged file keeps its bytes: the refused open wrote nothing into it.
  QFile jetFile(file("jet.mdb"));
  ASSERT_TRUE(jetFile.open(QIODevice::ReadOnly));
  EXPECT_EQ(jetFile.readAll(), jet);
}

TEST_F(ConnectionTest, EmptyFileOpensAsDatabaseWithoutTables) {
  writeBytes("empty.mdb", QByteArray());
  auto db = Connection::open(file("empty.mdb"));
  EXPECT_TRUE(db->tables().isEmpty());
  EXPECT_FALSE(db->hasTable("tblBewerb"));
  EXPECT_THROW(db->query("select typ from tblBewerb"), Error);
}

TEST_F(ConnectionTest, CreateReplacesAnExistingFile) {
  {
    auto db = Connection::create(file("a.mdb"));
    db->execute("create table old (x long)");
  }
  auto db = Connection::create(file("a.mdb"));
  EXPECT_TRUE(db->tables().isEmpty());
  EXPECT_GT(QFileInfo(file("a.mdb")).size(), 0);  // a database already, not an empty file
  auto reopened = Connection::open(file("a.mdb"));
  EXPECT_TRUE(reopened->tables().isEmpty());
}

TEST_F(ConnectionTest, SvidUpgradeStatementsRunAsWritten) {
  auto db = participants();
  db->execute("alter table tblTeilnehmer add svid long null");
  db->execute("CREATE UNIQUE INDEX tblTeilnehmersvid ON tblTeilnehmer (svid ASC) WITH IGNORE NULL");
  EXPECT_TRUE(db->hasColumn("tblTeilnehmer", "svid"));
  db->execute("insert into tblTeilnehmer (id, nachname, svid) values (1, 'A', Null)");
  db->execute("insert into tblTeilnehmer (id, nachname, svid) values (2, 'B', Null)");
  db->execute("insert into tblTeilnehmer (id, nachname, svid) values (3, 'C', 4711)");
  try {
    db->execute("insert into tblTeilnehmer (id, nachname, svid) values (4, 'D', 4711)");
    FAIL() << "duplicate svid accepted";
  } catch (const Error& e) {
    EXPECT_TRUE(e.text().contains("insert into tblTeilnehmer")) << e.text().toStdString();
  }
  EXPECT_EQ(db->scalar("select count(*) from tblTeilnehmer").toInt(), 3);
}

TEST_F(ConnectionTest, TablesOfTheProgramAreCreatedAsWritten) {
  auto db = Connection::create(file("own.mdb"));
  db->execute(
      "create table tblStali (durchgang short not null, reihenfolge char(50) not null, primary "
      "key(durchgang))");
  db->execute(
      "create table XtblFinale (startnr long not null, kz char(1) not null, zeit double not "
      "null, code char(9), sex char(1) not null, nachname char(80) not null, vorname char(80) "
      "not null, verein char(80) not null, nation char(10), jahrgang short not null, punkte "
      "double not null, svid long not null, primary key(startnr))");
  db->execute("CREATE UNIQUE INDEX XtblFinaleInd ON XtblFinale (code ASC) WITH IGNORE NULL");
  db->execute(
      "create table XtblUrkunde (Disziplin long not null, id long not null, TxText char(150) not "
      "null, TxFont char(50) not null, TxAlign short not null, TxVpos short not null, TxHpos "
      "short not null, primary key(Disziplin,id))");
  db->execute(
      "create table XtblSRBericht (Disziplin long not null, Feld char(25) not null, Wert "
      "char(150) not null, primary key(Disziplin,Feld))");
  EXPECT_EQ(db->tables(), QStringList({"tblStali", "XtblFinale", "XtblSRBericht", "XtblUrkunde"}));

  // Primary keys hold; "not null" holds.
  db->execute("insert into tblStali (durchgang, reihenfolge) values (1, 'Kategorie')");
  EXPECT_THROW(db->execute("insert into tblStali (durchgang, reihenfolge) values (1, 'x')"), Error);
  EXPECT_THROW(db->execute("insert into tblStali (durchgang, reihenfolge) values (2, Null)"),
               Error);
  // The report's field names are keys without regard to case, as in the main program.
  db->execute("insert into XtblSRBericht (Disziplin, Feld, Wert) values (2, 'Wetter', 'sonnig')");
  EXPECT_THROW(
      db->execute("insert into XtblSRBericht (Disziplin, Feld, Wert) values (2, 'WETTER', 'x')"),
      Error);
  db->execute("drop table XtblFinale");
  EXPECT_FALSE(db->hasTable("XtblFinale"));
}

TEST_F(ConnectionTest, SchemaQueriesIgnoreCase) {
  auto db = participants();
  EXPECT_TRUE(db->hasTable("tblteilnehmer"));
  EXPECT_TRUE(db->hasTable("TBLTEILNEHMER"));
  EXPECT_FALSE(db->hasTable("tblZeit"));
  EXPECT_TRUE(db->hasColumn("tblTeilnehmer", "NachName"));
  EXPECT_FALSE(db->hasColumn("tblTeilnehmer", "svid"));
  EXPECT_FALSE(db->hasColumn("tblNichtDa", "id"));
  const std::vector<ColumnInfo> columns = db->columns();
  ASSERT_EQ(columns.size(), 7u);
  EXPECT_EQ(columns[0].table, "tblTeilnehmer");
  EXPECT_EQ(columns[0].column, "id");
  EXPECT_EQ(columns[4].column, "gsaktiv");
  EXPECT_EQ(columns[4].type, "bit");
  // Table names are case-insensitive in statements too.
  EXPECT_EQ(db->scalar("select count(*) from TBLTEILNEHMER").toInt(), 0);
}

TEST_F(ConnectionTest, BoundParametersCarryEveryKindOfValue) {
  auto db = Connection::create(file("p.mdb"));
  db->execute("create table t (s varchar(50), n long, d double, b bit, dt datetime, leer long)");
  db->execute(
      "insert into t values (?, ?, ?, ?, ?, ?)",
      {QString("O'Brien; drop table t"), 42, 9999.99, true, QDate(2025, 1, 18), QVariant()});
  const Recordset rs = db->query("select * from t where s = ?", {QString("o'brien; DROP TABLE T")});
  ASSERT_EQ(rs.count(), 1);
  EXPECT_EQ(rs.at(0, "s").toString(), "O'Brien; drop table t");
  EXPECT_EQ(rs.at(0, "n").toInt(), 42);
  EXPECT_DOUBLE_EQ(rs.at(0, "d").toDouble(), 9999.99);
  EXPECT_EQ(rs.at(0, "b").toString(), "True");
  EXPECT_EQ(rs.at(0, "dt").toString(), "18.01.2025");
  EXPECT_TRUE(rs.at(0, "leer").isNull());

  EXPECT_THROW(db->execute("insert into t (n) values (?)", {}), Error);
  EXPECT_THROW(db->execute("insert into t (n) values (?)", {1, 2}), Error);
}

TEST_F(ConnectionTest, OnlyOneStatementPerCall) {
  auto db = participants();
  EXPECT_THROW(db->execute("delete from tblTeilnehmer; drop table tblTeilnehmer"), Error);
  EXPECT_TRUE(db->hasTable("tblTeilnehmer"));
  EXPECT_NO_THROW(db->execute("delete from tblTeilnehmer;"));
  EXPECT_THROW(db->execute("   "), Error);
}

TEST_F(ConnectionTest, ErrorsNameTheStatement) {
  auto db = participants();
  try {
    db->query("select nachname from tblTeilnehmer where startnrxx = 1");
    FAIL();
  } catch (const Error& e) {
    EXPECT_TRUE(e.text().contains("no such column: startnrxx")) << e.text().toStdString();
    EXPECT_TRUE(e.text().contains("select nachname from tblTeilnehmer where startnrxx = 1"));
  }
  EXPECT_THROW(db->execute("selct 1"), Error);
  const Recordset rs = db->query("select id from tblTeilnehmer");
  EXPECT_THROW(rs.at(0, "id"), Error);        // no row
  EXPECT_THROW(rs.at(0, "nachname"), Error);  // not selected
  EXPECT_EQ(rs.columnIndex("ID"), 0);
  EXPECT_TRUE(db->scalar("select id from tblTeilnehmer").isNull());
}

TEST_F(ConnectionTest, TransactionIsAllOrNothing) {
  auto db = participants();
  try {
    Transaction t(*db);
    db->execute("insert into tblTeilnehmer (id, nachname) values (1, 'Huber')");
    db->execute("insert into tblTeilnehmer (id, nachname) values (1, 'Doppelt')");
    t.commit();
    FAIL() << "duplicate key accepted";
  } catch (const Error&) {
  }
  EXPECT_FALSE(db->inTransaction());
  EXPECT_EQ(db->scalar("select count(*) from tblTeilnehmer").toInt(), 0);

  {
    Transaction t = db->transaction();
    db->execute("insert into tblTeilnehmer (id, nachname) values (1, 'Huber')");
    EXPECT_TRUE(db->inTransaction());
    EXPECT_THROW(db->transaction(), Error);  // no nesting
    t.commit();
  }
  EXPECT_FALSE(db->inTransaction());

  {
    Transaction t(*db);
    db->execute("delete from tblTeilnehmer");
  }  // not committed
  EXPECT_EQ(db->scalar("select count(*) from tblTeilnehmer").toInt(), 1);

  // What was committed is in the file for the next connection.
  db.reset();
  auto again = Connection::open(file("t.mdb"));
  EXPECT_EQ(again->scalar("select nachname from tblTeilnehmer where id = 1").toString(), "Huber");
}

}  // namespace
}  // namespace kx::db
