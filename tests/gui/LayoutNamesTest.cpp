// Every name a page layout places resolves to a control the page declares, on a model of
// every page kind and on every kind of network window; a name that does not is reported
// by the binder, never skipped silently. Live values are drawn read-only.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <set>
#include <sstream>

#include "../core/SessionTestRig.h"
#include "ControlBinder.h"
#include "PageLayout.h"
#include "PageView.h"
#include "netpages/frmEthernet.h"
#include "pages/ControlByName.h"

namespace {

std::vector<std::string> Words(const std::string& s) {
  std::vector<std::string> out;
  std::istringstream in(s);
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

// Every name a layout places, whatever the kind of block.
std::set<std::string> PlacedNames(const q5::gui::layout::PageLayout& layout) {
  using namespace q5::gui::layout;
  std::set<std::string> out;
  auto add = [&](const std::string& names) {
    for (const auto& n : Words(names)) out.insert(n);
  };
  auto walk = [&](const std::vector<Block>& blocks) {
    for (const Block& b : blocks) {
      if (const auto* p = std::get_if<Points>(&b)) {
        add(p->frame);
        for (const auto& r : p->rows) {
          add(r.heading);
          add(r.tokens);
          add(r.prefix);
          if (!r.array.empty())
            for (int c = 0; c < p->columns; ++c)
              out.insert(q5::pages::Indexed(r.array, r.first + c));
        }
      } else if (const auto* f = std::get_if<Fields>(&b)) {
        for (const auto& r : f->rows) {
          add(r.captionLabel);
          add(r.control);
        }
      } else if (const auto* c = std::get_if<Channels>(&b)) {
        add(c->headerLabels);
        add(c->frame);
        for (const auto& r : c->rows)
          for (int i = c->first; i < c->first + c->count; ++i)
            for (const std::string* a : {&r.array, &r.note, &r.unit})
              if (!a->empty()) out.insert(q5::pages::Indexed(*a, i));
      } else if (const auto* t = std::get_if<Table>(&b)) {
        add(t->frame);
        for (const auto& h : t->headers) add(h);
        for (const auto& r : t->rows) {
          add(r.captionLabel);
          for (const auto& n : r.cells) add(n);
        }
      } else if (const auto* o = std::get_if<Options>(&b)) {
        add(o->frame);
        for (const auto& n : o->options) add(n);
      } else if (const auto* u = std::get_if<Custom>(&b)) {
        for (const auto& n : u->covers) add(n);
      }
    }
  };
  walk(layout.top);
  for (const Tab& t : layout.tabs) {
    out.insert(t.frame);
    walk(t.blocks);
  }
  walk(layout.bottom);
  for (const auto& n : layout.omitted) out.insert(n);
  return out;
}

// Every control a walk declares.
std::vector<std::string> DeclaredNames(const q5::pages::ControlWalk& walk) {
  struct Names : q5::pages::ControlVisitor {
    std::vector<std::string> names;
    void text(const q5::pages::ControlInfo& i, q5::pages::TextBox&) override {
      names.push_back(i.name);
    }
    void combo(const q5::pages::ControlInfo& i, q5::pages::ComboBox&) override {
      names.push_back(i.name);
    }
    void check(const q5::pages::ControlInfo& i, q5::pages::CheckBox&) override {
      names.push_back(i.name);
    }
    void option(const q5::pages::ControlInfo& i, q5::pages::OptionButton&) override {
      names.push_back(i.name);
    }
    void label(const q5::pages::ControlInfo& i, q5::pages::Label&) override {
      names.push_back(i.name);
    }
    void indicator(const q5::pages::ControlInfo& i, q5::pages::Indicator&) override {
      names.push_back(i.name);
    }
    void button(const q5::pages::ControlInfo& i, q5::pages::Button&) override {
      names.push_back(i.name);
    }
    void frame(const q5::pages::ControlInfo& i, q5::pages::Frame&) override {
      names.push_back(i.name);
    }
  } n;
  walk(n);
  return n.names;
}

// A unit connected, its network window opened and read by the network button.
struct NetworkRig : SessionRig {
  explicit NetworkRig(const std::string& model) : SessionRig(model) {
    connect();
    session.btnComNet_Click();
  }
  q5::netpages::NetworkWindow* window() { return session.networkWindow(); }
};

// The left edges of the widgets of these names, in the view's coordinates.
std::vector<int> Lefts(q5::gui::PageView& view, const std::vector<std::string>& names) {
  std::vector<int> out;
  for (const auto& n : names) {
    QWidget* w = view.control(n);
    out.push_back(w ? w->mapTo(&view, QPoint(0, 0)).x() : -1);
  }
  return out;
}

}  // namespace

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

  // The network windows are laid out by the same tables as the pages: every name their
  // layouts place is declared, and every control they declare has its place in the
  // layout (none falls to the rows the view adds for controls no layout placed), for
  // each model group of each network type.
  void networkWindowsAreLaidOutByTheirTables() {
    std::set<std::string> windows;
    for (const char* model : {"Q5V3PE-6-BO16", "Q5W3NEIP-BI32", "Q5V3PE-6-BI16", "Q5W3ND-BI32",
                              "Q5Z3UCIE-SG2-9/F1", "Q5V3UM-AC32"}) {
      NetworkRig rig(model);
      q5::netpages::NetworkWindow* window = rig.window();
      QVERIFY2(window, model);
      const std::string name(window->name());
      windows.insert(name);
      const auto* layout = q5::gui::layout::LayoutFor(name);
      QVERIFY2(layout, model);
      QVERIFY2(!layout->scrolls, model);
      q5::gui::PageView view(*window);
      view.refresh();
      const auto& unresolved = view.binder().unresolvedNames();
      QVERIFY2(unresolved.empty(),
               qPrintable(QString::fromLatin1(model) + ": " +
                          QString::fromStdString(unresolved.empty() ? "" : unresolved.front())));
      const std::set<std::string> placed = PlacedNames(*layout);
      for (const std::string& declared :
           DeclaredNames([&](q5::pages::ControlVisitor& v) { window->visitControls(v); })) {
        QVERIFY2(placed.count(declared),
                 qPrintable(QString::fromLatin1(model) + ": " + QString::fromStdString(declared) +
                            " has no place in the layout"));
        QVERIFY2(view.control(declared), declared.c_str());
      }
    }
    QCOMPARE(windows, (std::set<std::string>{"frmEthernet", "frmDeviceNet", "frmCClinkIEField",
                                             "frmModbus"}));
  }

  // What a person reads in the Ethernet window, left to right: the dotted address with
  // its first number first, the MAC address in its two halves, the socket columns under
  // their headers, and the window's buttons at its foot, Exit last. A row hidden for the
  // model takes its caption and its dots along.
  void ethernetRowsReadInOrder() {
    NetworkRig rig("Q5V3PE-6-BO16");  // plain Ethernet: sockets shown, no gateway
    auto& eth = static_cast<q5::netpages::frmEthernet&>(*rig.window());
    eth.txtIP[3].text = "10";
    eth.txtIP[2].text = "20";
    eth.txtIP[1].text = "30";
    eth.txtIP[0].text = "40";
    q5::gui::PageView view(eth);
    view.resize(view.sizeHint());
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.refresh();
    for (const char* prefix : {"txtIP", "txtSNM"}) {
      const std::string p(prefix);
      const auto x = Lefts(view, {p + "(3)", p + "(2)", p + "(1)", p + "(0)"});
      QVERIFY2(x[0] >= 0 && x[0] < x[1] && x[1] < x[2] && x[2] < x[3], prefix);
    }
    // The boxes show what the window holds, one number each, joined by dots.
    QString shown;
    for (int i = 3; i >= 0; --i)
      shown += qobject_cast<QLineEdit*>(view.control(q5::pages::Indexed("txtIP", i)))->text() +
               (i ? "." : "");
    QCOMPARE(shown, QStringLiteral("10.20.30.40"));
    auto visibleTexts = [&](QWidget* row) {
      QStringList t;
      for (auto* l : row->findChildren<QLabel*>())
        if (l->isVisible()) t << l->text();
      return t;
    };
    const QStringList all = visibleTexts(&view);
    QVERIFY(all.contains("IP Address") && all.contains("Subnet Mask") &&
            all.contains("MAC Address"));
    QVERIFY(all.contains("x0.1s (0 to 32767)"));
    QCOMPARE(all.count("."), 6);  // the gateway's dots hide with its boxes
    QVERIFY(!all.contains("Default Gateway"));
    QVERIFY(view.control("txtDGW(3)")->isHidden());
    // The hidden row leaves no gap: time-out follows the subnet mask as the mask follows
    // the address.
    auto top = [&](const char* name) { return view.control(name)->mapTo(&view, QPoint()).y(); };
    QVERIFY(std::abs((top("txtTimeout(0)") - top("txtSNM(3)")) -
                     (top("txtSNM(3)") - top("txtIP(3)"))) <= 2);
    const auto mac = Lefts(view, {"lblMac(0)", "lblMac(1)"});
    QVERIFY(mac[0] >= 0 && mac[0] < mac[1]);
    QVERIFY(all.contains("-"));
    // The socket table: a group box "TCP Socket", each column under its header.
    auto* frame = qobject_cast<QGroupBox*>(view.control("Frame4"));
    QVERIFY(frame && frame->isVisible());
    QCOMPARE(frame->title(), QStringLiteral("TCP Socket"));
    for (int k = 1; k <= 4; ++k) {
      QWidget* header = view.control(q5::pages::Indexed("Label4", k - 1));
      QWidget* port = view.control(q5::pages::Indexed("txtPort", k));
      QWidget* linger = view.control(q5::pages::Indexed("txtTimeout", k));
      QWidget* unit = view.control(q5::pages::Indexed("Label4", k + 4));
      QVERIFY(header && port && linger && unit);
      QCOMPARE(qobject_cast<QLabel*>(header)->text(), QStringLiteral("Port%1").arg(k));
      QVERIFY(frame->isAncestorOf(port) && frame->isAncestorOf(linger));
      const int centre = port->mapTo(&view, port->rect().center()).x();
      for (QWidget* same : {header, linger, unit})
        QVERIFY(std::abs(same->mapTo(&view, same->rect().center()).x() - centre) <= 2);
      QVERIFY(header->mapTo(&view, QPoint()).y() < port->mapTo(&view, QPoint()).y());
      QVERIFY(port->mapTo(&view, QPoint()).y() < linger->mapTo(&view, QPoint()).y());
    }
    QVERIFY(!frame->isAncestorOf(view.control("txtTimeout(0)")));
    // The buttons below everything else, Exit at the right.
    const auto buttons = Lefts(view, {"btnUpload", "btnDownload", "btnExit"});
    QVERIFY(buttons[0] < buttons[1] && buttons[1] < buttons[2]);
    QVERIFY(view.control("btnUpload")->mapTo(&view, QPoint()).y() >
            frame->mapTo(&view, QPoint()).y());
    QCOMPARE(qobject_cast<QPushButton*>(view.control("btnExit"))->text(), QStringLiteral("Exit"));
  }

  // A person typing into the middle of a setting keeps the caret after the character
  // typed on every page kind, although the view writes the page's states back into the
  // widgets after each edit.
  void typingKeepsTheCaretOnEveryPageKind() {
    std::set<int> kinds;
    int typed = 0;
    for (const char* model :
         {"Q5T3NML3-6-AI4",  "Q5T3NML3-6-TC4",   "Q5T3NML3-6-RT4",    "Q5T3NML3-6-OV2",
          "Q5T3NML3-6-OC2",  "Q5W3UD-BI16",      "Q5W3UD-BO16",       "Q5T3NML3-6-AIF2",
          "Q5W3ND-BI32",     "Q5W3ND-BO32",      "Q5T3NML3-6-OCF4",   "Q5T3NML3-6-PI1",
          "Q5T3NML3-6-OVF4", "Q5T3NML3-6-SG2",   "Q5T3NML3-6-LNRIO1", "Q5W3NML3-E-EC4A",
          "Q5V3UM-AC32",     "Q5Z3UECT-1-AIF8N", "Q5W3ND-BIO32",      "Q5Z3UECT-1-PI8A",
          "Q5W3UD-BIO16",    "Q5V3PM-BI32"}) {
      SessionRig rig(model);
      rig.connect();
      q5::pages::ModulePage* page = rig.session.page();
      QVERIFY2(page, model);
      kinds.insert(page->pageKind());
      q5::gui::PageView view(*page);
      view.resize(900, 700);
      view.show();
      view.refresh();
      // The first setting a person can type into (discrete pages have none).
      QLineEdit* box = nullptr;
      std::string name;
      for (const std::string& n :
           DeclaredNames([&](q5::pages::ControlVisitor& v) { page->visitControls(v); })) {
        const auto info = q5::pages::DeclarationOf(*page, n);
        auto* e = qobject_cast<QLineEdit*>(view.control(n));
        if (info && info->editable() && e && e->isVisible() && e->isEnabled() && !e->isReadOnly()) {
          box = e;
          name = n;
          break;
        }
      }
      if (!box) continue;
      ++typed;
      box->setFocus();
      box->setText(QStringLiteral("10"));
      box->setCursorPosition(1);
      QTest::keyClicks(box, QStringLiteral("2"));
      QVERIFY2(box->text().startsWith(QStringLiteral("120")),
               qPrintable(QString::fromLatin1(model) + " " + box->text()));
      QVERIFY2(box->cursorPosition() == 2,
               qPrintable(QString::fromLatin1(model) + ": " + QString::fromStdString(name) +
                          " caret at " + QString::number(box->cursorPosition())));
    }
    QCOMPARE(static_cast<int>(kinds.size()), 22);
    QVERIFY2(typed >= 14, qPrintable(QString::number(typed)));  // all but the discrete pages
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
