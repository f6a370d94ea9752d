"""Prints how a DXF file draws its points, as ezdxf reads it, one
tab-separated record a line: LAYER name true_color / BLOCK name entities /
INSERT layer block x y z / POINT layer color x y z /
POLYLINE layer color is_3d x,y,z x,y,z ... / LWPOLYLINE layer color x,y x,y ...
Coordinates with 3 decimals."""
import sys

import ezdxf


def xyz(point):
    return ",".join("%.3f" % v for v in point)


def main(path):
    doc = ezdxf.readfile(path)
    out = [["LAYER", layer.dxf.name, layer.dxf.get("true_color", "-")] for layer in doc.layers]
    out += [["BLOCK", block.name, len(block)] for block in doc.blocks
            if not block.name.startswith("*")]
    for entity in doc.modelspace():
        kind = entity.dxftype()
        if kind == "INSERT":
            out.append(["INSERT", entity.dxf.layer, entity.dxf.name, xyz(entity.dxf.insert)])
        elif kind == "POINT":
            out.append(["POINT", entity.dxf.layer, entity.dxf.get("color", 256),
                        xyz(entity.dxf.location)])
        elif kind == "POLYLINE":
            out.append(["POLYLINE", entity.dxf.layer, entity.dxf.get("color", 256),
                        entity.is_3d_polyline] + [xyz(v.dxf.location) for v in entity.vertices])
        elif kind == "LWPOLYLINE":
            out.append(["LWPOLYLINE", entity.dxf.layer, entity.dxf.get("color", 256)] +
                       [xyz(p) for p in entity.get_points("xy")])
        elif kind not in ("MTEXT",):
            out.append(["OTHER", kind])
    sys.stdout.write("".join("\t".join(str(v) for v in record) + "\n" for record in out))


if __name__ == "__main__":
    main(sys.argv[1])
