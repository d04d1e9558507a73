#include "net/LinkProtocol.h"

#include "net/Share.h"
#include "net/Telnet.h"

namespace kestrova {

std::unique_ptr<LinkProtocol> ProtocolFor(Scheme scheme) {
    switch (scheme) {
        case Scheme::Rfc2217:
            return std::make_unique<telnet::Client>();
        case Scheme::Kestrova:
            return std::make_unique<share::Reader>();
        case Scheme::Tcp:
            break;
    }
    return std::make_unique<RawProtocol>();
}

}  // namespace kestrova
