#!/usr/bin/env python3
"""One MS1 profile spectrum as mzML, 64-bit arrays without compression: what the peer's peak
picker reads in the benchmarks.

    bench/profile_mzml.py SPECTRUM.txt OUT.mzML    prints the number of points
"""
import base64, struct, sys


def array(values, accession, name):
    data = base64.b64encode(struct.pack("<%dd" % len(values), *values)).decode()
    return ('<binaryDataArray encodedLength="%d"><cvParam cvRef="MS" accession="MS:1000523" name="64-bit float"/>'
            '<cvParam cvRef="MS" accession="MS:1000576" name="no compression"/>'
            '<cvParam cvRef="MS" accession="%s" name="%s"/><binary>%s</binary></binaryDataArray>'
            % (len(data), accession, name, data))


def write_mzml(path, xs, ys):
    with open(path, "w") as out:
        out.write('<?xml version="1.0" encoding="utf-8"?>\n'
                  '<mzML xmlns="http://psi.hupo.org/ms/mzml" version="1.1.0">'
                  '<cvList count="1"><cv id="MS" fullName="PSI-MS" URI="https://www.ebi.ac.uk/ols/ontologies/ms"/></cvList>'
                  '<softwareList count="1"><software id="conv" version="1"/></softwareList>'
                  '<instrumentConfigurationList count="1"><instrumentConfiguration id="IC"/></instrumentConfigurationList>'
                  '<dataProcessingList count="1"><dataProcessing id="dp"><processingMethod order="0" softwareRef="conv">'
                  '<cvParam cvRef="MS" accession="MS:1000544" name="Conversion to mzML"/></processingMethod>'
                  '</dataProcessing></dataProcessingList>'
                  '<run id="r" defaultInstrumentConfigurationRef="IC"><spectrumList count="1" defaultDataProcessingRef="dp">'
                  '<spectrum index="0" id="scan=1" defaultArrayLength="%d">'
                  '<cvParam cvRef="MS" accession="MS:1000511" name="ms level" value="1"/>'
                  '<cvParam cvRef="MS" accession="MS:1000579" name="MS1 spectrum"/>'
                  '<cvParam cvRef="MS" accession="MS:1000128" name="profile spectrum"/>'
                  '<binaryDataArrayList count="2">%s%s</binaryDataArrayList></spectrum></spectrumList></run></mzML>\n'
                  % (len(xs), array(xs, "MS:1000514", "m/z array"),
                     array([float(y) for y in ys], "MS:1000515", "intensity array")))


def read_text(path):
    """The points of a spectrum text file (title lines in quotes)."""
    xs, ys = [], []
    with open(path, encoding="cp1251") as f:
        for line in f:
            parts = line.split()
            if len(parts) == 2 and not line.startswith('"'):
                xs.append(float(parts[0]))
                ys.append(float(parts[1]))
    return xs, ys


if __name__ == "__main__":
    xs, ys = read_text(sys.argv[1])
    write_mzml(sys.argv[2], xs, ys)
    print(len(xs))
