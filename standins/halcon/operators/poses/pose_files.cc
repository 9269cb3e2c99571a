// Poses and camera parameters in the vendor's text files, and poses, quaternions, 3-D
// matrices and camera parameters as serialized items.
#include <filesystem>
#include <fstream>
#include <locale>
#include <map>
#include <sstream>
#include <string>
#include <system_error>

#include "core/params.h"
#include "core/serialized_items.h"
#include "halconcpp/HOperatorsPoses.h"
#include "operators/poses/camera.h"
#include "operators/poses/pose_math.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

namespace fs = std::filesystem;

// Parameter files are a few hundred bytes; a larger one is not one of them.
constexpr std::uintmax_t kLargestFile = 1 << 20;

std::string readSmallFile(const std::string& name, const char* op) {
  std::error_code error;
  const fs::path path = fs::u8path(name);
  if (name.empty() || !fs::is_regular_file(path, error)) fail(op, H_ERR_FILE_NOT_FOUND);
  const auto size = fs::file_size(path, error);
  if (error) fail(op, H_ERR_FILE_NOT_FOUND);
  if (size > kLargestFile) fail(op, H_ERR_FILE_FORMAT);
  std::ifstream in(path, std::ios::binary);
  if (!in) fail(op, H_ERR_FILE_NOT_FOUND);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeFile(const std::string& name, const std::string& text, const char* op) {
  std::error_code error;
  const fs::path path = fs::u8path(name);
  if (name.empty() || fs::is_directory(path, error)) fail(op, H_ERR_FILE_WRITE);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out.write(text.data(), static_cast<std::streamsize>(text.size())).flush()) {
    fail(op, H_ERR_FILE_WRITE);
  }
}

// Numbers as the vendor's files show them, six significant digits, in any C locale.
std::ostringstream fileStream() {
  std::ostringstream out;
  out.imbue(std::locale::classic());
  return out;
}

bool parseNumber(const std::string& text, double* value) {
  std::istringstream in(text);
  in.imbue(std::locale::classic());
  in >> *value;
  if (!in) return false;
  in >> std::ws;
  return in.eof();
}

// A serialized tuple: its kind's name, then every value exactly.
Hlong serializeValues(const char* kind, const HTuple& values, const char* op) {
  std::ostringstream out;
  out.imbue(std::locale::classic());
  out.precision(17);
  out << kind;
  for (Hlong i = 0; i < values.Length(); ++i) out << ' ' << values[i].D();
  return addSerializedItem(out.str(), op);
}

// The values of an item of that kind; an item of another kind is a wrong handle.
HTuple deserializeValues(const HTuple& handle, const char* kind, const char* op) {
  std::istringstream in(serializedItem(handle, op, 1)->bytes);
  in.imbue(std::locale::classic());
  std::string name;
  if (!(in >> name) || name != kind) fail(op, 1301);
  HTuple values;
  double v;
  while (values.Length() < 16 && in >> v) values.Append(HTuple(v));
  return values;
}

// Whole numbers (type codes, image sizes) come back as integers.
HTuple withIntegers(const HTuple& values, Hlong from) {
  HTuple out;
  for (Hlong i = 0; i < values.Length(); ++i) {
    if (i >= from) {
      out.Append(HTuple(static_cast<Hlong>(values[i].D())));
    } else {
      out.Append(HTuple(values[i].D()));
    }
  }
  return out;
}

}  // namespace

void WritePose(const HTuple& Pose, const HTuple& PoseFile) {
  ApiScope scope("WritePose");
  const char* op = "write_pose";
  const Standin::Pose pose = poseOf(Pose, op, 1);
  const std::string name = oneString(PoseFile, op, 2);
  std::ostringstream out = fileStream();
  out << "# 3D POSE PARAMETERS: rotation and translation\n\n"
      << "# Used representation type:\nf " << pose.type.code() << "\n\n"
      << "# Rotation angles [deg] or Rodriguez vector:\nr " << pose.r[0] << ' ' << pose.r[1] << ' '
      << pose.r[2] << "\n\n"
      << "# Translation vector (x y z [m]):\nt " << pose.t[0] << ' ' << pose.t[1] << ' '
      << pose.t[2] << "\n";
  writeFile(name, out.str(), op);
}

void ReadPose(const HTuple& PoseFile, HTuple* Pose) {
  ApiScope scope("ReadPose");
  const char* op = "read_pose";
  std::istringstream in(readSmallFile(oneString(PoseFile, op, 1), op));
  in.imbue(std::locale::classic());
  double f = -1, r[3], t[3];
  bool seen[3] = {false, false, false};
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    words.imbue(std::locale::classic());
    std::string key;
    if (!(words >> key) || key[0] == '#') continue;
    if (key == "f" && words >> f) {
      seen[0] = true;
    } else if (key == "r" && words >> r[0] >> r[1] >> r[2]) {
      seen[1] = true;
    } else if (key == "t" && words >> t[0] >> t[1] >> t[2]) {
      seen[2] = true;
    } else {
      fail(op, H_ERR_FILE_FORMAT);
    }
  }
  if (!seen[0] || !seen[1] || !seen[2] || !(f >= 0 && f <= 13)) fail(op, H_ERR_FILE_FORMAT);
  const int code = static_cast<int>(f);
  if (f != code || (code & 7) > 5) fail(op, H_ERR_FILE_FORMAT);
  HTuple pose;
  for (double v : {t[0], t[1], t[2], r[0], r[1], r[2]}) pose.Append(HTuple(v));
  pose.Append(HTuple(static_cast<Hlong>(code)));
  setOutput(Pose, pose);
}

namespace {

struct CamEntry {
  const char* name;
  const char* shortName;
  const char* kind;
  const char* meaning;
};

constexpr CamEntry kDivision[] = {
    {"Focus", "foc", "DOUBLE:0.0:", "Focal length of the lens [meter]"},
    {"Kappa", "kappa", "DOUBLE::", "Radial distortion coefficient [1/(meter*meter)]"},
    {"Sx", "sx", "DOUBLE:0.0:", "Width of a cell on the chip [meter]"},
    {"Sy", "sy", "DOUBLE:0.0:", "Height of a cell on the chip [meter]"},
    {"Cx", "cx", "DOUBLE::", "X-coordinate of the image center [pixel]"},
    {"Cy", "cy", "DOUBLE::", "Y-coordinate of the image center [pixel]"},
    {"ImageWidth", "imgw", "INT:1:32768", "Width of the images [pixel]"},
    {"ImageHeight", "imgh", "INT:1:32768", "Height of the images [pixel]"},
};

constexpr CamEntry kPolynomial[] = {
    {"Focus", "foc", "DOUBLE:0.0:", "Focal length of the lens [meter]"},
    {"Poly1", "poly1", "DOUBLE::", "1st polynomial distortion coefficient"},
    {"Poly2", "poly2", "DOUBLE::", "2nd polynomial distortion coefficient"},
    {"Poly3", "poly3", "DOUBLE::", "3rd polynomial distortion coefficient"},
    {"Poly4", "poly4", "DOUBLE::", "4th polynomial distortion coefficient"},
    {"Poly5", "poly5", "DOUBLE::", "5th polynomial distortion coefficient"},
    {"Sx", "sx", "DOUBLE:0.0:", "Width of a cell on the chip [meter]"},
    {"Sy", "sy", "DOUBLE:0.0:", "Height of a cell on the chip [meter]"},
    {"Cx", "cx", "DOUBLE::", "X-coordinate of the image center [pixel]"},
    {"Cy", "cy", "DOUBLE::", "Y-coordinate of the image center [pixel]"},
    {"ImageWidth", "imgw", "INT:1:32768", "Width of the images [pixel]"},
    {"ImageHeight", "imgh", "INT:1:32768", "Height of the images [pixel]"},
};

}  // namespace

void WriteCamPar(const HTuple& CameraParam, const HTuple& CamParFile) {
  ApiScope scope("WriteCamPar");
  const char* op = "write_cam_par";
  const HTuple values = tupleOf(cameraParamOf(CameraParam, op, 1));
  const std::string name = oneString(CamParFile, op, 2);
  const CamEntry* entries = values.Length() == 12 ? kPolynomial : kDivision;
  std::ostringstream out = fileStream();
  out << "ParGroup: Camera: Parameters of the camera;\n\n";
  for (Hlong i = 0; i < values.Length(); ++i) {
    const CamEntry& e = entries[i];
    out << e.name << ":  " << e.shortName << ";\t";
    if (i >= values.Length() - 2) {
      out << values[i].L();
    } else {
      out << values[i].D();
    }
    out << ";\n" << e.kind << ";\n\"" << e.meaning << "\";\n\n";
  }
  writeFile(name, out.str(), op);
}

void ReadCamPar(const HTuple& CamParFile, HTuple* CameraParam) {
  ApiScope scope("ReadCamPar");
  const char* op = "read_cam_par";
  std::istringstream in(readSmallFile(oneString(CamParFile, op, 1), op));
  std::map<std::string, double> found;
  for (std::string line; std::getline(in, line);) {
    // "Name:  short;  value;" lines carry the values; the others describe them.
    const std::size_t colon = line.find(':');
    const std::size_t first = line.find(';', colon == std::string::npos ? 0 : colon);
    const std::size_t second = first == std::string::npos ? first : line.find(';', first + 1);
    if (colon == std::string::npos || second == std::string::npos) continue;
    double value;
    if (parseNumber(line.substr(first + 1, second - first - 1), &value)) {
      found[line.substr(0, colon)] = value;
    }
  }
  const bool polynomial = found.count("Poly1") != 0 || found.count("K1") != 0;
  const char* const polyNames[5][2] = {
      {"Poly1", "K1"}, {"Poly2", "K2"}, {"Poly3", "K3"}, {"Poly4", "P1"}, {"Poly5", "P2"}};
  HTuple values;
  auto take = [&](const char* a, const char* b) {
    auto at = found.find(a);
    if (at == found.end() && b) at = found.find(b);
    if (at == found.end()) fail(op, H_ERR_FILE_FORMAT);
    values.Append(HTuple(at->second));
  };
  take("Focus", nullptr);
  if (polynomial) {
    for (const auto& names : polyNames) take(names[0], names[1]);
  } else {
    take("Kappa", nullptr);
  }
  for (const char* n : {"Sx", "Sy", "Cx", "Cy", "ImageWidth", "ImageHeight"}) take(n, nullptr);
  // Line scan cameras, whose files also give the motion, are not among the models read.
  if (found.count("Vx") != 0) fail(op, H_ERR_FILE_FORMAT);
  const HTuple read = withIntegers(values, values.Length() - 2);
  try {
    setOutput(CameraParam, tupleOf(cameraParamOf(read, op, 1)));
  } catch (const HException&) {
    fail(op, H_ERR_FILE_FORMAT);
  }
}

void SerializePose(const HTuple& Pose, HTuple* SerializedItemHandle) {
  ApiScope scope("SerializePose");
  const char* op = "serialize_pose";
  setOutput(SerializedItemHandle,
            HTuple(serializeValues("pose", tupleOf(poseOf(Pose, op, 1)), op)));
}

void DeserializePose(const HTuple& SerializedItemHandle, HTuple* Pose) {
  ApiScope scope("DeserializePose");
  const char* op = "deserialize_pose";
  const HTuple values = deserializeValues(SerializedItemHandle, "pose", op);
  setOutput(Pose, tupleOf(poseOf(withIntegers(values, 6), op, 1)));
}

void SerializeQuat(const HTuple& Quaternion, HTuple* SerializedItemHandle) {
  ApiScope scope("SerializeQuat");
  const char* op = "serialize_quat";
  requireLength(Quaternion, 4, op, 1);
  for (Hlong i = 0; i < 4; ++i) numberAt(Quaternion, i, op, 1);
  setOutput(SerializedItemHandle, HTuple(serializeValues("quat", Quaternion, op)));
}

void DeserializeQuat(const HTuple& SerializedItemHandle, HTuple* Quaternion) {
  ApiScope scope("DeserializeQuat");
  const char* op = "deserialize_quat";
  const HTuple values = deserializeValues(SerializedItemHandle, "quat", op);
  if (values.Length() != 4) fail(op, 1301);
  setOutput(Quaternion, values);
}

void SerializeHomMat3d(const HTuple& HomMat3D, HTuple* SerializedItemHandle) {
  ApiScope scope("SerializeHomMat3d");
  const char* op = "serialize_hom_mat3d";
  setOutput(SerializedItemHandle,
            HTuple(serializeValues("hom_mat3d", tupleOf(homMat3dOf(HomMat3D, op, 1)), op)));
}

void DeserializeHomMat3d(const HTuple& SerializedItemHandle, HTuple* HomMat3D) {
  ApiScope scope("DeserializeHomMat3d");
  const char* op = "deserialize_hom_mat3d";
  const HTuple values = deserializeValues(SerializedItemHandle, "hom_mat3d", op);
  if (values.Length() != 12) fail(op, 1301);
  setOutput(HomMat3D, values);
}

void SerializeCamPar(const HTuple& CameraParam, HTuple* SerializedItemHandle) {
  ApiScope scope("SerializeCamPar");
  const char* op = "serialize_cam_par";
  const HTuple values = tupleOf(cameraParamOf(CameraParam, op, 1));
  setOutput(SerializedItemHandle, HTuple(serializeValues("cam_par", values, op)));
}

void DeserializeCamPar(const HTuple& SerializedItemHandle, HTuple* CameraParam) {
  ApiScope scope("DeserializeCamPar");
  const char* op = "deserialize_cam_par";
  const HTuple values = deserializeValues(SerializedItemHandle, "cam_par", op);
  setOutput(CameraParam, tupleOf(cameraParamOf(withIntegers(values, values.Length() - 2), op, 1)));
}

}  // namespace HalconCpp
