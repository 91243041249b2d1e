// What -v prints for each file written: its checksums and, for a part, its socket.
#include "report.h"

#include "checksums.h"
#include "image_checksums.h"
#include "record_text.h"
#include "request_shape.h"
#include "socket_line.h"

std::string fileLine(const std::string& path, const Bytes& bytes, PartFormat format)
{
    std::string written = format == PartFormat::Raw ? ""
                          : format == PartFormat::IntelHex ? " as Intel HEX"
                                                           : " as S-records";
    return path + ": " + std::to_string(bytes.size()) + " bytes" + written + ", " +
           checksumsText(bytes.data(), bytes.size());
}

std::string partLine(const Request& request, int k)
{
    return socketLine(partShape(request), k);
}

void imageChecksumNotes(const std::string& path, const Bytes& image, bool verbose,
                        std::vector<std::string>& notes, std::ostream& err)
{
    ImageChecksum checksum = imageChecksum(image.data(), image.size());
    std::string line = imageChecksumLine(checksum);
    if (line.empty())
        return;
    if (verbose)
        notes.push_back(path + ": " + line);
    else if (!checksum.valid)
        err << "kestrum-cli: warning: " << path << ": " << line << '\n';
}
