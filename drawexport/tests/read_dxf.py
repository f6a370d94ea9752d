"""Prints what a DXF file holds, as ezdxf reads it, one tab-separated record a line:
EXTMIN x y z / EXTMAX x y z / VIEW cx cy height / LAYER name /
POINT layer x y z / TEXT layer x y z char_height attachment text."""
import sys

import ezdxf


def main(path):
    doc = ezdxf.readfile(path)
    out = []
    for name in ("$EXTMIN", "$EXTMAX"):
        out.append([name[1:]] + list(doc.header[name]))
    view = doc.viewports.get("*Active")[0]
    out.append(["VIEW", view.dxf.center[0], view.dxf.center[1], view.dxf.height])
    out += [["LAYER", layer.dxf.name] for layer in doc.layers]
    for entity in doc.modelspace():
        if entity.dxftype() == "POINT":
            out.append(["POINT", entity.dxf.layer] + list(entity.dxf.location))
        elif entity.dxftype() == "MTEXT":
            out.append(["TEXT", entity.dxf.layer] + list(entity.dxf.insert) +
                       [entity.dxf.char_height, entity.dxf.attachment_point, entity.plain_text()])
        else:
            out.append(["OTHER", entity.dxftype()])
    sys.stdout.buffer.write("".join("\t".join(repr(v) if isinstance(v, float) else str(v)
                                              for v in record) + "\n"
                                    for record in out).encode("utf-8"))


if __name__ == "__main__":
    main(sys.argv[1])
