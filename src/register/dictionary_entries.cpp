#include "register/dictionary_dialog.h"

#include "common/dictionary/dictionary_dialog.h"
#include "register/data/dictionary.h"
#include "register/dictionary_fields.h"

namespace kestrel::registry {

void RunDictionary(common::Runtime& rt, std::string_view menu) {
    if (const Dictionary* d = FindDictionary(menu)) common::RunDictionary(rt, *d, RegisterHooks());
}

void Qrm272(common::Runtime& rt) {
    RunDictionary(rt, "2.7.2");
}
void Qrm273(common::Runtime& rt) {
    RunDictionary(rt, "2.7.3");
}
void Qrm274(common::Runtime& rt) {
    RunDictionary(rt, "2.7.4");
}
void Qrm275(common::Runtime& rt) {
    RunDictionary(rt, "2.7.5");
}
void Qrm276(common::Runtime& rt) {
    RunDictionary(rt, "2.7.6");
}
void Qrm277(common::Runtime& rt) {
    RunDictionary(rt, "2.7.7");
}
void Qrm278(common::Runtime& rt) {
    RunDictionary(rt, "2.7.8");
}
void Qrm279(common::Runtime& rt) {
    RunDictionary(rt, "2.7.9");
}
void Qrm27A(common::Runtime& rt) {
    RunDictionary(rt, "2.7.A");
}
void Qrm27B(common::Runtime& rt) {
    RunDictionary(rt, "2.7.B");
}
void Qrm27C(common::Runtime& rt) {
    RunDictionary(rt, "2.7.C");
}
void Qrm27D(common::Runtime& rt) {
    RunDictionary(rt, "2.7.D");
}
void Qrm27E(common::Runtime& rt) {
    RunDictionary(rt, "2.7.E");
}
void Qrm282(common::Runtime& rt) {
    RunDictionary(rt, "2.8.2");
}
void Qrm283(common::Runtime& rt) {
    RunDictionary(rt, "2.8.3");
}
void Qrm284(common::Runtime& rt) {
    RunDictionary(rt, "2.8.4");
}
void Qrm285(common::Runtime& rt) {
    RunDictionary(rt, "2.8.5");
}
void Qrm286(common::Runtime& rt) {
    RunDictionary(rt, "2.8.6");
}
void Qrm287(common::Runtime& rt) {
    RunDictionary(rt, "2.8.7");
}
void Qrm288(common::Runtime& rt) {
    RunDictionary(rt, "2.8.8");
}
void Qrm289(common::Runtime& rt) {
    RunDictionary(rt, "2.8.9");
}
void Qrm28A(common::Runtime& rt) {
    RunDictionary(rt, "2.8.A");
}
void Qrm28B(common::Runtime& rt) {
    RunDictionary(rt, "2.8.B");
}

}  // namespace kestrel::registry
