// What the windows read from the page registry rather than from page-kind numbers of
// their own: the manual document Help opens for the page shown, over every page kind,
// and the module described beside each simulated unit of the COM port dialog.
#include <QFile>
#include <QtTest>

#include "HelpDocuments.h"
#include "catalogue/Catalogue.h"
#include "frmComPort.h"
#include "pages/PageRegistry.h"

class RegistryFactsTest : public QObject {
  Q_OBJECT

 private slots:
  void helpOpensThePageKindsOwnDocumentForEveryKind() {
    using D = q5::gui::HelpDocuments;
    D help;
    q5::session::SessionValues v;
    int kinds = 0;
    for (const auto& e : q5::pages::PageKinds()) {
      v.pageKind = static_cast<std::int16_t>(e.kind);
      for (D::Document d : {D::InstructionManualEnglish, D::InstructionManualJapanese}) {
        const QString file = help.address(d, v).toLocalFile();
        QVERIFY2(file.endsWith(QLatin1Char('/') +
                               QString::fromUtf8(e.manual.data(), int(e.manual.size()))),
                 qPrintable(file));
        QFile f(file);
        QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(file));
        QVERIFY(f.readAll().contains("Q5CFG"));
      }
      ++kinds;
    }
    QCOMPARE(kinds, 22);
    // Kinds without a page (99; nothing identified) open the overview of pages.
    for (int none : {99, -1}) {
      v.pageKind = static_cast<std::int16_t>(none);
      QVERIFY(help.address(D::InstructionManualEnglish, v).toLocalFile().endsWith("/pages.html"));
    }
  }

  void simulatedUnitsAreDescribedByTheirPageKind() {
    std::map<std::string, QString> labels;
    for (const auto& c : q5::gui::DefaultPortChoices()) labels[c.port] = c.label;
    const auto units = q5::gui::SimulatedUnits();
    QVERIFY(!units.empty());
    for (const std::string& sim : units) {
      QVERIFY2(labels.count(sim), sim.c_str());
      const QString& label = labels[sim];
      const std::string model = sim.substr(4);
      std::int16_t kind = -1;
      q5::catalogue::ModuleKindOf(q5::catalogue::ModulePartOf(model), kind);
      const auto* e = q5::pages::FindPageKind(kind);
      QVERIFY2(e, sim.c_str());
      QCOMPARE(label, QStringLiteral("Simulated unit %1, %2 (%3)")
                          .arg(QString::fromStdString(model),
                               QString::fromUtf8(e->description.data(), int(e->description.size())),
                               QString::fromStdString(sim)));
    }
    // The texts themselves, restated.
    QCOMPARE(labels["sim:Q5T3NML3-6-AI4"],
             QStringLiteral(
                 "Simulated unit Q5T3NML3-6-AI4, 4-channel analog input (sim:Q5T3NML3-6-AI4)"));
    QCOMPARE(
        labels["sim:Q5T3NML3-6-LNRIO1"],
        QStringLiteral(
            "Simulated unit Q5T3NML3-6-LNRIO1, linearizing converter (sim:Q5T3NML3-6-LNRIO1)"));
    QCOMPARE(
        labels["sim:Q5T3NML3-6-TC4"],
        QStringLiteral(
            "Simulated unit Q5T3NML3-6-TC4, 4-channel thermocouple input (sim:Q5T3NML3-6-TC4)"));
  }
};

QTEST_MAIN(RegistryFactsTest)
#include "RegistryFactsTest.moc"
