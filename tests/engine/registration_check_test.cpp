// The unattended run's registration: each registered component checked in the registry, broken
// up-to-date ones registered again, and a report that never calls a failed registration done.
#include <functional>

#include "engine/registration_check.h"
#include "tests/engine/run_fixture.h"

namespace {

const std::string kSystem = "c:\\windows\\system32\\";

// comdlg32.ocx, a 32-bit component of two classes, ticked alone, in the source folder and the
// system folder with its tool; the run waits for each registration, as the unattended one does.
struct Scene : RunWorld {
  Scene() {
    Tool();
    host.files.AddFile("comdlg32.ocx", "20040312");
    host.registration.Component(kSystem + "comdlg32.ocx", 32, {"{C1}", "{C2}"});
    window.boxes = "10000000";
    window.wait_limit = std::chrono::seconds(60);
  }
  // regsvr32 does what `registers` writes for each file it is started for.
  void Regsvr32(std::function<void(fake::FakeRegistration&, const std::string&)> registers) {
    host.processes.on_start = [this, registers](const fake::StartedProcess& started) {
      registers(host.registration, started.arguments.at(1));
    };
  }
};

void Registers(fake::FakeRegistration& registry, const std::string& path) { registry.Register(path); }

// Each outcome of a fresh installation and of an up-to-date component (installed): an up-to-date
// one is registered again only when its registration is broken, and the check of the same PC then
// finds what the run left broken, and only that.
TEST(RegistrationCheck, EachOutcomeHasItsLineAFailureIsNeverReportedAsDoneAndOnlyABrokenOneIsRepaired) {
  const std::string path = kSystem + "comdlg32.ocx";
  struct Case {
    bool installed;
    std::function<void(Scene&)> arrange;
    std::vector<std::string> notes;  // each after the path
    bool failed;
    int registry_reads;
    bool started = true;
  };
  const Case cases[] = {
      {false, [](Scene& t) { t.Regsvr32(Registers); }, {": registreringen kontrollerad."}, false, 1},
      {false, [](Scene& t) {
         t.Regsvr32([](fake::FakeRegistration& r, const std::string& p) { r.Register(p), r.classes[{"{C2}", 32}] = "c:\\gamla\\X.ocx"; });
       }, {": REGISTRERAD TILL EN ANNAN FIL: {C2} pekar på c:\\gamla\\X.ocx."}, true, 1},
      {false, [](Scene&) {}, {": INTE REGISTRERAD: klassen {C1} saknas i registret."}, true, 1},
      {false, [](Scene& t) {  // written to the 64-bit view for a 32-bit component
         t.Regsvr32([](fake::FakeRegistration& r, const std::string& p) { r.classes[{"{C1}", 64}] = p; });
       }, {": INTE REGISTRERAD: klassen {C1} saknas i registret."}, true, 1},
      {false, [](Scene& t) {
         t.Regsvr32([](fake::FakeRegistration& r, const std::string& p) { r.Register(p), r.libraries.clear(); });
       }, {": INTE REGISTRERAD: typbiblioteket {LIB c:\\windows\\system32\\comdlg32.ocx} saknas i registret."}, true, 1},
      {false, [](Scene& t) { t.host.registration.facts.clear(); },
       {": har inget typbibliotek; registreringen kan inte kontrolleras."}, false, 0},
      {false, [](Scene& t) { t.Regsvr32(Registers), t.host.registration.registry_failure = "Åtkomst nekad."; },
       {": registret kunde inte läsas: Åtkomst nekad."}, true, 1},
      {false, [](Scene& t) {
         t.host.processes.EndWith(1, 3);
         t.host.registration.missing_imports[kSystem + "comdlg32.ocx"] = {"riched20.dll", "msvcp60.dll"};
       }, {": regsvr32.exe avslutades med kod 3: filen kunde inte läsas in. Saknas: riched20.dll, msvcp60.dll."}, true, 0},
      {false, [](Scene& t) { t.host.processes.EndWith(1, 4); },
       {": regsvr32.exe avslutades med kod 4: filen har ingen DllRegisterServer."}, true, 0},
      {true, [](Scene& t) { t.host.registration.Register(kSystem + "comdlg32.ocx"); },
       {": registreringen kontrollerad."}, false, 1, false},
      {true, [](Scene& t) { t.Regsvr32(Registers); }, {": registreringen kontrollerad."}, false, 2},
      {true, [](Scene& t) {
         t.host.registration.Component("c:\\app\\comdlg32.ocx", 32, {"{C1}"});
         t.host.registration.Register("c:\\app\\comdlg32.ocx");
         t.host.registration.facts[kSystem + "comdlg32.ocx"] = t.host.registration.facts.at("c:\\app\\comdlg32.ocx");
         t.Regsvr32([](fake::FakeRegistration&, const std::string&) {});
       }, {": REGISTRERAD TILL EN ANNAN FIL: {C1} pekar på c:\\app\\comdlg32.ocx."}, true, 2},
      {true, [](Scene& t) { t.host.processes.EndWith(1, 5); },
       {": regsvr32.exe avslutades med kod 5: DllRegisterServer misslyckades.",
        ": INTE REGISTRERAD: klassen {C1} saknas i registret."}, true, 1},
      {true, [](Scene& t) { t.host.registration.facts.clear(); }, {}, false, 0, false},
  };
  for (const Case& c : cases) {
    const std::string what = "case " + std::to_string(&c - cases);
    Scene scene;
    if (c.installed) scene.host.files.AddFile(path, "20040312");
    c.arrange(scene);
    const auto run = scene.Run();
    std::vector<std::string> notes;
    for (const std::string& note : c.notes) notes.push_back(path + note);
    EXPECT_EQ(run->RegistrationNotes, notes) << what;
    EXPECT_EQ(run->RegistrationFailed, c.failed) << what;
    EXPECT_EQ(scene.host.processes.Started().size(), c.started ? 1u : 0u) << what;
    const std::string registered = !c.started ? "" : path + (c.failed ? " KUNDE INTE REGISTRERAS" : " registrerad") + "\r\n";
    EXPECT_EQ(run->ReportText, (c.failed ? "" : Lines({"Installation av systemfiler klar.", ""})) +
                                   Lines({c.installed ? "comdlg32.ocx  20040312  \tBefintlig fil: 20040312  (ej ersatt)"
                                                      : "comdlg32.ocx  20040312  \tInlagd ", ""}) + registered) << what;
    EXPECT_EQ(scene.host.registration.registry_reads, c.registry_reads) << what;
    EXPECT_EQ(engine::BrokenRegistrations(scene.state, scene.window, scene.host.system).size(), c.failed ? 1u : 0u) << what;
  }
}

}  // namespace
