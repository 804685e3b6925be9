// Every name a page layout places resolves to a control the page declares, on a model of
// every page kind; a name that does not is reported by the binder, never skipped silently.
// Live values are drawn read-only.
#include <QLineEdit>
#include <QtTest>

#include "../core/SessionTestRig.h"
#include "ControlBinder.h"
#include "PageLayout.h"
#include "PageView.h"
#include "pages/ControlByName.h"

class LayoutNamesTest : public QObject {
  Q_OBJECT

 private slots:
  void everyPlacedNameIsDeclared() {
    std::set<int> kinds;
    for (const char* model :
         {"Q5T3NML3-6-AI4", "Q5T3NML3-6-TC4", "Q5T3NML3-6-RT4", "Q5T3NML3-6-OV2",
          "Q5T3NML3-6-OC2", "Q5W3UD-BI16", "Q5W3UD-BO16", "Q5T3NML3-6-AIF2", "Q5W3ND-BI32",
          "Q5W3ND-BO32", "Q5T3NML3-6-OCF4", "Q5T3NML3-6-PI1/A", "Q5T3NML3-6-PI1",
          "Q5T3NML3-6-OVF4", "Q5T3NML3-6-SG2A", "Q5T3NML3-6-SG2", "Q5T3NML3-6-LNRIO1",
          "Q5W3NML3-E-EC4A", "Q5V3UM-AC32", "Q5Z3UECT-1-AIF8N", "Q5W3ND-BIO32",
          "Q5Z3UECT-1-PI8A", "Q5W3UD-BIO16", "Q5V3PM-BI32", "Q5T3PM-BI16"}) {
      SessionRig rig(model);
      rig.connect();
      q5::pages::ModulePage* page = rig.session.page();
      QVERIFY2(page, model);
      kinds.insert(page->pageKind());
      q5::gui::PageView view(*page);
      view.refresh();
      const auto& unresolved = view.binder().unresolvedNames();
      QVERIFY2(unresolved.empty(),
               qPrintable(QString::fromLatin1(model) + ": " +
                          QString::fromStdString(unresolved.empty() ? "" : unresolved.front())));
      // Every box the page declares live is read-only.
      for (const char* name : {"txtParData(0)", "txtCP(0)", "txtPA(0)", "txtTotalData"}) {
        const auto info = q5::pages::DeclarationOf(*page, name);
        auto* box = qobject_cast<QLineEdit*>(view.control(name));
        if (!info || !box) continue;
        QCOMPARE(info->role, q5::pages::Role::Live);
        QVERIFY2(box->isReadOnly(), name);
      }
    }
    QCOMPARE(static_cast<int>(kinds.size()), 22);
  }

  // The tab a control is declared on is the tab the layout places it on, and a control
  // the layout places above or below the tabs is declared on none: the report's sections
  // follow the page as a person sees it.
  void everyPlacedNameIsDeclaredOnItsTab() {
    using namespace q5::gui::layout;
    std::set<int> kinds;
    for (const char* model :
         {"Q5T3NML3-6-AI4", "Q5T3NML3-6-TC4", "Q5T3NML3-6-RT4", "Q5T3NML3-6-OV2",
          "Q5T3NML3-6-OC2", "Q5W3UD-BI16", "Q5W3UD-BO16", "Q5T3NML3-6-AIF2", "Q5W3ND-BI32",
          "Q5W3ND-BO32", "Q5T3NML3-6-OCF4", "Q5T3NML3-6-PI1", "Q5T3NML3-6-OVF4",
          "Q5T3NML3-6-SG2", "Q5T3NML3-6-LNRIO1", "Q5W3NML3-E-EC4A", "Q5V3UM-AC32",
          "Q5Z3UECT-1-AIF8N", "Q5W3ND-BIO32", "Q5Z3UECT-1-PI8A", "Q5W3UD-BIO16",
          "Q5V3PM-BI32"}) {
      SessionRig rig(model);
      rig.connect();
      q5::pages::ModulePage* page = rig.session.page();
      QVERIFY2(page, model);
      kinds.insert(page->pageKind());
      const PageLayout* layout = LayoutFor(page->name());
      QVERIFY2(layout, model);
      int checked = 0;
      auto expect = [&](const std::string& name, const std::string& tab) {
        if (name.empty()) return;
        const auto info = q5::pages::DeclarationOf(*page, name);
        if (!info) return;  // an undeclared name is the other test's business
        ++checked;
        QVERIFY2(info->group == tab, qPrintable(QString::fromLatin1(model) + ": " +
                                                QString::fromStdString(name) + " declared on \"" +
                                                QString::fromStdString(info->group) +
                                                "\", placed on \"" + QString::fromStdString(tab) +
                                                "\""));
      };
      auto walk = [&](const std::vector<Block>& blocks, const std::string& tab) {
        for (const Block& b : blocks) {
          if (const auto* f = std::get_if<Fields>(&b)) {
            for (const auto& r : f->rows) expect(r.control, tab);
          } else if (const auto* c = std::get_if<Channels>(&b)) {
            for (const auto& r : c->rows)
              for (int i = c->first; i < c->first + c->count; ++i)
                expect(q5::pages::Indexed(r.array, i), tab);
          } else if (const auto* o = std::get_if<Options>(&b)) {
            for (const auto& name : o->options) expect(name, tab);
          } else if (const auto* u = std::get_if<Custom>(&b)) {
            for (const auto& name : u->covers) expect(name, tab);
          }
        }
      };
      walk(layout->top, "");
      for (const Tab& t : layout->tabs) walk(t.blocks, t.frame);
      walk(layout->bottom, "");
      QVERIFY2(checked > 0, model);
    }
    QCOMPARE(static_cast<int>(kinds.size()), 22);
  }

  void aWrongNameIsReported() {
    q5::pages::TextBox box;
    q5::gui::ControlBinder binder([&](q5::pages::ControlVisitor& v) {
      v.text(q5::pages::Setting("txtGain(0)", "Gain"), box);
    });
    QLineEdit right, wrong;
    binder.bindText("txtGain(0)", &right);
    binder.bindText("txtGian(0)", &wrong);
    QTest::ignoreMessage(QtWarningMsg,
                         "ControlBinder: the view places \"txtGian(0)\", which the page does "
                         "not declare");
    binder.refresh();
    QCOMPARE(binder.unresolvedNames(), std::vector<std::string>{"txtGian(0)"});
    // Reported once, not at every refresh.
    binder.refresh();
  }
};

QTEST_MAIN(LayoutNamesTest)
#include "LayoutNamesTest.moc"
