#include "protocol/TransferRequest.h"

#include "platform/CodePage.h"
#include "protocol/CDKestaDlg.h"
#include "protocol/ScriptBuilder.h"

ScriptBuildResult TransferRequest::BuildScript(CDKestaDlg& engine) const {
    const ScriptBuilder builder(CodePage::Wire());
    if (ScriptBuildResult checked = builder.CheckLines(*this); !checked) {
        return checked;
    }
    // Kinds that do not refill build on what an earlier request left.
    ScriptTable table = engine.TableSnapshot();
    if (ScriptBuildResult built = builder.Build(*this, table); !built) {
        return built;
    }
    engine.InstallScript(*this, table);
    return {};
}
