#pragma once
// The command catalogue: the code each sensor command travels as and the name it is
// known by in the command log and the line trace. Some codes carry two commands (a
// reading and a setting, or one code answered differently by two model families).

#include <array>
#include <cstdint>
#include <string>

namespace vk {

struct SensorCommand {
    std::uint8_t code;
    const char* name;
};

namespace cmd {
inline constexpr SensorCommand SetLaserOn{1, "SetLaserOn"};
inline constexpr SensorCommand SetLaserOff{2, "SetLaserOff"};
inline constexpr SensorCommand StartScan{3, "StartScan"};
inline constexpr SensorCommand StopScan{4, "StopScan"};
inline constexpr SensorCommand SetScanInterval{5, "SetScanInterval"};
inline constexpr SensorCommand ResetSensor{6, "ResetSensor"};
inline constexpr SensorCommand SetOffset{8, "SetOffset"};
inline constexpr SensorCommand SetMode{9, "SetMode"};
inline constexpr SensorCommand HLAScanResult{10, "HLAScanResult"};
inline constexpr SensorCommand GetScanBufferPortion{11, "GetScanBufferPortion"};
inline constexpr SensorCommand SetFilterFactors{14, "SetFilterFactors"};
inline constexpr SensorCommand ApplyScanFilter{15, "ApplyScanFilter"};
inline constexpr SensorCommand SetSensorAddress{18, "SetSensorAddress"};
inline constexpr SensorCommand GetSensorSetup{19, "GetSensorSetup"};
inline constexpr SensorCommand GetVKT04Setup{19, "GetVKT04Setup"};
inline constexpr SensorCommand GetErrorState{20, "GetErrorState"};
inline constexpr SensorCommand GetVKT02State{21, "GetVKT02State"};
inline constexpr SensorCommand SetAnalogOuputFactors{26, "SetAnalogOuputFactors"};
inline constexpr SensorCommand GetAnalogFactors{27, "GetAnalogFactors"};
inline constexpr SensorCommand GetVersion{30, "GetVersion"};
inline constexpr SensorCommand GetConfigVars{32, "GetConfigVars"};
inline constexpr SensorCommand SetConfigVars{33, "SetConfigVars"};
inline constexpr SensorCommand SetVKT04Mode{36, "SetVKT04Mode"};
inline constexpr SensorCommand GetPeak{38, "GetPeak"};
inline constexpr SensorCommand GetVKT04Version{39, "GetVKT04Version"};
inline constexpr SensorCommand SetOutOfRangeMode{40, "SetOutOfRangeMode"};
inline constexpr SensorCommand GetBoardFlipperState{41, "GetBoardFlipperState"};
inline constexpr SensorCommand GetSensorState{41, "GetSensorState"};
inline constexpr SensorCommand WriteWaneParams{46, "WriteWaneParams"};
inline constexpr SensorCommand ReadWaneParams{47, "ReadWaneParams"};
inline constexpr SensorCommand SetBoardTimeout{48, "SetBoardTimeout"};
inline constexpr SensorCommand GetBoardTimeout{49, "GetBoardTimeout"};
inline constexpr SensorCommand SetDefaults{66, "SetDefaults"};
inline constexpr SensorCommand GetLaserPower{67, "GetLaserPower"};
inline constexpr SensorCommand SetNumHoldScans{67, "SetNumHoldScans"};
inline constexpr SensorCommand GetNumHoldScans{68, "GetNumHoldScans"};
inline constexpr SensorCommand SetSensorCheckMode{77, "SetSensorCheckMode"};
inline constexpr SensorCommand WriteFlashProtect1{78, "WriteFlashProtect1"};
inline constexpr SensorCommand WriteFlashProtect2{79, "WriteFlashProtect2"};
inline constexpr SensorCommand SetModelName{80, "SetModelName"};
inline constexpr SensorCommand SetSerialNum{81, "SetSerialNum"};
inline constexpr SensorCommand SetThreshold{82, "SetThreshold"};
inline constexpr SensorCommand SetMaxLP{83, "SetMaxLP"};
inline constexpr SensorCommand SetMinLP{84, "SetMinLP"};
inline constexpr SensorCommand UploadCode{86, "UploadCode"};
inline constexpr SensorCommand UploadFPGA{87, "UploadFPGA"};
inline constexpr SensorCommand UploadCalibration{88, "UploadCalibration"};
inline constexpr SensorCommand SetAnalogMinVolts{90, "SetAnalogMinVolts"};
inline constexpr SensorCommand SetAnalogMaxVolts{91, "SetAnalogMaxVolts"};
inline constexpr SensorCommand SetBaudRate{92, "SetBaudRate"};
inline constexpr SensorCommand SetAnalogMinRange{93, "SetAnalogMinRange"};
inline constexpr SensorCommand SetAnalogMaxRange{94, "SetAnalogMaxRange"};
inline constexpr SensorCommand GetModelName{127, "GetModelName"};
inline constexpr SensorCommand GetSerialNum{128, "GetSerialNum"};
inline constexpr SensorCommand GetMaxLP{129, "GetMaxLP"};
inline constexpr SensorCommand GetMinLP{130, "GetMinLP"};
inline constexpr SensorCommand SetAnalogOutOfRange{146, "SetAnalogOutOfRange"};
} // namespace cmd

// Every command above, by code.
inline constexpr std::array<SensorCommand, 57> kSensorCommands = {cmd::SetLaserOn,
                                                                  cmd::SetLaserOff,
                                                                  cmd::StartScan,
                                                                  cmd::StopScan,
                                                                  cmd::SetScanInterval,
                                                                  cmd::ResetSensor,
                                                                  cmd::SetOffset,
                                                                  cmd::SetMode,
                                                                  cmd::HLAScanResult,
                                                                  cmd::GetScanBufferPortion,
                                                                  cmd::SetFilterFactors,
                                                                  cmd::ApplyScanFilter,
                                                                  cmd::SetSensorAddress,
                                                                  cmd::GetSensorSetup,
                                                                  cmd::GetVKT04Setup,
                                                                  cmd::GetErrorState,
                                                                  cmd::GetVKT02State,
                                                                  cmd::SetAnalogOuputFactors,
                                                                  cmd::GetAnalogFactors,
                                                                  cmd::GetVersion,
                                                                  cmd::GetConfigVars,
                                                                  cmd::SetConfigVars,
                                                                  cmd::SetVKT04Mode,
                                                                  cmd::GetPeak,
                                                                  cmd::GetVKT04Version,
                                                                  cmd::SetOutOfRangeMode,
                                                                  cmd::GetBoardFlipperState,
                                                                  cmd::GetSensorState,
                                                                  cmd::WriteWaneParams,
                                                                  cmd::ReadWaneParams,
                                                                  cmd::SetBoardTimeout,
                                                                  cmd::GetBoardTimeout,
                                                                  cmd::SetDefaults,
                                                                  cmd::GetLaserPower,
                                                                  cmd::SetNumHoldScans,
                                                                  cmd::GetNumHoldScans,
                                                                  cmd::SetSensorCheckMode,
                                                                  cmd::WriteFlashProtect1,
                                                                  cmd::WriteFlashProtect2,
                                                                  cmd::SetModelName,
                                                                  cmd::SetSerialNum,
                                                                  cmd::SetThreshold,
                                                                  cmd::SetMaxLP,
                                                                  cmd::SetMinLP,
                                                                  cmd::UploadCode,
                                                                  cmd::UploadFPGA,
                                                                  cmd::UploadCalibration,
                                                                  cmd::SetAnalogMinVolts,
                                                                  cmd::SetAnalogMaxVolts,
                                                                  cmd::SetBaudRate,
                                                                  cmd::SetAnalogMinRange,
                                                                  cmd::SetAnalogMaxRange,
                                                                  cmd::GetModelName,
                                                                  cmd::GetSerialNum,
                                                                  cmd::GetMaxLP,
                                                                  cmd::GetMinLP,
                                                                  cmd::SetAnalogOutOfRange};

// The names of the commands sent as `code`, joined by "/" ("GetLaserPower/SetNumHoldScans"),
// or an empty text for a code no command uses.
std::string CommandNamesFor(std::uint8_t code);

} // namespace vk
