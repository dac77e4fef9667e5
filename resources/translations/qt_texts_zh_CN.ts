<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- Texts Qt shows in the file dialog that its own Chinese catalogue
     (qtbase_zh_CN) lacks, and the file type names of the dialog's type
     column. Loaded after Qt's catalogue, so these win. -->
<TS version="2.1" language="zh_CN">
<context>
    <name>QAbstractFileIconProvider</name>
    <message>
        <source>Folder</source>
        <comment>All other platforms</comment>
        <translation>文件夹</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>驱动器</translation>
    </message>
    <message>
        <source>Shortcut</source>
        <comment>All other platforms</comment>
        <translation>快捷方式</translation>
    </message>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>未知</translation>
    </message>
</context>
<context>
    <name>QFileSystemModel</name>
    <message>
        <source>Size</source>
        <translation>大小</translation>
    </message>
</context>
<context>
    <name>QzuFileDialog</name>
    <message>
        <source>%1 File</source>
        <comment>type of a file with the extension %1</comment>
        <translation>%1 文件</translation>
    </message>
    <message>
        <source>File</source>
        <comment>type of a file without an extension</comment>
        <translation>文件</translation>
    </message>
    <message>
        <source>Link</source>
        <comment>type of a symbolic link</comment>
        <translation>快捷方式</translation>
    </message>
    <message>
        <source>%1 KiB</source>
        <comment>file size in units of 1024 bytes</comment>
        <translation>%1 千字节</translation>
    </message>
    <message>
        <source>%1 MiB</source>
        <comment>file size in units of 1024 bytes</comment>
        <translation>%1 兆字节</translation>
    </message>
    <message>
        <source>%1 GiB</source>
        <comment>file size in units of 1024 bytes</comment>
        <translation>%1 吉字节</translation>
    </message>
    <message>
        <source>%1 TiB</source>
        <comment>file size in units of 1024 bytes</comment>
        <translation>%1 太字节</translation>
    </message>
    <message>
        <source>%1 PiB</source>
        <comment>file size in units of 1024 bytes</comment>
        <translation>%1 拍字节</translation>
    </message>
    <message>
        <source>%1 EiB</source>
        <comment>file size in units of 1024 bytes</comment>
        <translation>%1 艾字节</translation>
    </message>
</context>
</TS>
