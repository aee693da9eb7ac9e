#include "insurance/data/insurance_transfer.h"

namespace kestrel::insurance {

TransferPreview PreviewTransfer(common::Runtime& rt, common::Tables& tables) {
    (void)rt, (void)tables;
    return {};
}

TransferOutcome Transfer(common::Runtime& rt, common::Tables& tables, TransferObserver* observer) {
    (void)tables, (void)observer;
    TransferOutcome out;
    out.message = rt.Text("Funkcja niedostępna w tej wersji programu");
    return out;
}

}  // namespace kestrel::insurance
